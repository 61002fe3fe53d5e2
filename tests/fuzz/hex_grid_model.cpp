// The hex grid's editing model driven by a sequence of operations (keystrokes, caret moves,
// paging, new geometry, new data), its invariants checked after each.
#include "FuzzHarness.h"

#include "controls/HexCodec.h"
#include "controls/HexGridModel.h"

namespace {

bool isHexDigit(QChar character)
{
    return HexDigitValue(character) < 16 && character.isLetterOrNumber();
}

void checkInvariants(const HexGridModel &model)
{
    const QStringView text = model.dataText();
    FUZZ_CHECK(text.size() % HexGridModel::CellCharacters == 0);
    // Every cell is two hex digits and a blank, whatever was typed.
    for (qsizetype i = 0; i < text.size(); i += HexGridModel::CellCharacters)
        FUZZ_CHECK(isHexDigit(text[i]) && isHexDigit(text[i + 1]) && text[i + 2] == u' ');
    FUZZ_CHECK(model.caretPosition() >= 0 && model.caretPosition() <= model.shownText().size());
    const int first = model.modifiedFirst();
    const int last = model.modifiedLast();
    FUZZ_CHECK((first == -1 && last == -1) || (0 <= first && first < last && last <= text.size()));
    const QByteArray modified = model.GetModifiedBytes();
    if (first >= 0) {
        const int firstCell = first / HexGridModel::CellCharacters;
        const int endCell = (last + HexGridModel::CellCharacters - 1) / HexGridModel::CellCharacters;
        FUZZ_CHECK(modified.size() == endCell - firstCell);
        FUZZ_CHECK(model.GetFirstModifiedByte() == firstCell);
        FUZZ_CHECK(model.GetFirstModifiedRow() <= model.GetLastModifiedRow());
    } else {
        FUZZ_CHECK(modified.isEmpty() && model.GetFirstModifiedRow() == -1);
    }
    FUZZ_CHECK(model.GetPageCount() >= 1 || text.isEmpty());
    // The current page may lie past the data after new geometry or data, but never below 0.
    FUZZ_CHECK(model.currentPage() >= 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    fuzzharness::Input input(data, size);
    HexGridModel model;
    model.SetGeometry(input.pick(20), input.pick(20));
    checkInvariants(model);
    int steps = 0;
    while (!input.empty() && ++steps < 400) {
        switch (input.pick(11)) {
        case 0:
        case 1: // a key the operator types, most often a hex digit
            model.typeCharacter(QLatin1Char(char(input.pick(2) ? "0123456789abcdefABCDEF"[input.pick(22)]
                                                               : char(input.byte()))));
            break;
        case 2: model.moveCaretLeft(); break;
        case 3: model.moveCaretRight(); break;
        case 4: model.setCaretPosition(int(int8_t(input.byte())) * 4); break;
        case 5: model.ShowGridPage(input.pick(12) - 1); break;
        case 6: model.SetGeometry(input.pick(20) - 1, input.pick(20) - 1); break;
        case 7: {
            const std::string_view bytes = input.take(std::size_t(input.pick(4)) * input.byte());
            model.SetData(QByteArray(bytes.data(), qsizetype(bytes.size())));
            const QByteArray row = model.GetRowBytes(0);
            FUZZ_CHECK(row == QByteArray(bytes.data(), std::min<qsizetype>(qsizetype(bytes.size()), model.cellsPerRow()))
                       || bytes.size() < std::size_t(model.cellsPerRow()));
            break;
        }
        case 8: model.ClearData(); break;
        case 9: model.ResetModifiedRange(); break;
        case 10: FUZZ_CHECK(model.GetRowBytes(input.pick(80) - 1).size() <= model.cellsPerRow()); break;
        }
        checkInvariants(model);
    }
    return 0;
}
