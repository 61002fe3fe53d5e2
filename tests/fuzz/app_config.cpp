// AppConfig.ini as anyone may edit it (or a tool may break it): every key the program reads.
#include "FuzzHarness.h"

#include "shell/AppConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const QString file = QString::fromStdString(fuzzharness::ScratchFile("AppConfig.ini", data, size));
    for (int index = -1; index <= AppConfigCopyright + 1; ++index) {
        const QString value = ReadAppConfigFrom(file, index);
        FUZZ_CHECK(value.size() <= AppConfigValueLength);
        FUZZ_CHECK(!value.contains(QChar(u'\0')));
        FUZZ_CHECK(value.isEmpty() || !value.back().isHighSurrogate());
        if (index < 0 || index > AppConfigCopyright)
            FUZZ_CHECK(value.isEmpty());
    }
    return 0;
}
