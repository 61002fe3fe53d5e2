#include "ReaderSession.h"

#include "ScenarioError.h"

#include <cstdio>

namespace zentrava {

void ReaderSession::syncScenario()
{
    const ScenarioFile file(ScenarioFile::defaultLocation());
    const ScenarioFile::Stamp stamp = file.stamp();
    if (m_loaded && file.path() == m_scenarioPath && stamp == m_stamp)
        return;
    const bool samePath = m_loaded && file.path() == m_scenarioPath;
    m_loaded = true;
    m_scenarioPath = file.path();
    m_stamp = stamp;
    m_writeBack = false;
    m_reader.device.settingsChanged = false;
    Scenario scenario;
    if (!stamp.exists) {
        scenario = Scenario::builtInDefault();
    } else {
        try {
            scenario = file.load();
            m_writeBack = scenario.reader.writeBack;
        } catch (const std::exception &error) {
            // The operator's file is left alone; the reader works but has no cards.
            std::fprintf(stderr, "libZentrava: scenario file ignored, the reader has no cards: %s\n", error.what());
            scenario = Scenario();
        }
    }
    // Only the faults changed (the tool armed or ended one): the cards stay as they are, selected
    // and authenticated, so that a fault strikes in the middle of what the program is doing.
    if (samePath && stamp.exists && onlyFaultsDiffer(scenario)) {
        adoptFaults(scenario.faults);
        return;
    }
    m_reader.device.settings = scenario.reader;
    m_reader.field.replaceCards(std::move(scenario.field));
    m_reader.contact.replaceCard(std::move(scenario.contactSlot));
    m_awayCards.clear();
    m_awayContactCard.reset();
    m_cardsAway = false;
    adoptFaults(scenario.faults);
}

std::string ReaderSession::serializedState(const std::vector<ReaderFault> &faults) const
{
    const ReaderSettings &settings = m_reader.device.settings;
    if (m_cardsAway)
        return Scenario::serialize(settings, cardsOfScenario(), m_awayContactCard.get(), faults);
    return Scenario::serialize(settings, m_reader.field.cards(), m_reader.contact.card(), faults);
}

bool ReaderSession::onlyFaultsDiffer(const Scenario &scenario) const
{
    const auto faultsText = [](const std::vector<ReaderFault> &faults) {
        return Scenario::serialize({}, {}, nullptr, faults);
    };
    if (faultsText(scenario.faults) == faultsText(m_faults.faults()))
        return false;
    return Scenario::serialize(scenario.reader, scenario.field, scenario.contactSlot.get()) == serializedState();
}

void ReaderSession::adoptFaults(const std::vector<ReaderFault> &faults)
{
    m_faults.adopt(faults);
    if (m_faults.cardsAway() && !m_cardsAway)
        takeCardsAway();
    else if (!m_faults.cardsAway() && m_cardsAway)
        layCardsBack();
}

void ReaderSession::takeCardsAway()
{
    RfField &field = m_reader.field;
    CardList staying;
    for (std::size_t i = 0; i < field.cards().size(); ++i) {
        const VirtualCard &card = *field.cards()[i];
        if (card.radioMode() == RadioMode::SamSlot)
            staying.push_back(card.clone());
        else
            m_awayCards.emplace_back(i, card.clone());
    }
    field.replaceCards(std::move(staying));
    m_cardsAway = true;
    if (m_reader.contact.card()) {
        m_awayContactCard = m_reader.contact.card()->clone();
        m_reader.contact.replaceCard(nullptr);
    }
}

void ReaderSession::layCardsBack()
{
    m_reader.field.replaceCards(cardsOfScenario());
    m_reader.contact.replaceCard(std::move(m_awayContactCard));
    m_awayCards.clear();
    m_cardsAway = false;
}

CardList ReaderSession::cardsOfScenario() const
{
    const CardList &field = m_reader.field.cards();
    CardList cards;
    auto away = m_awayCards.begin();
    auto staying = field.begin();
    while (away != m_awayCards.end() || staying != field.end()) {
        if (away != m_awayCards.end() && (away->first == cards.size() || staying == field.end()))
            cards.push_back((away++)->second->clone());
        else
            cards.push_back((*staying++)->clone());
    }
    return cards;
}

int32_t ReaderSession::afterCall(int32_t result, bool torn)
{
    if (torn) {
        // The card lost its power half way through programming: it never acknowledged the write
        // and starts idle again.
        m_faults.tearSpent();
        if (VirtualCard *card = m_reader.field.activeCard())
            card->setState(CardState::Idle);
        result = status::NoCard;
    }
    if (m_faults.countCall())
        takeCardsAway();
    writeBack();
    return result;
}

void ReaderSession::writeBack()
{
    bool changed = m_reader.field.takeMemoryChanged();
    changed = m_reader.contact.takeMemoryChanged() || changed;
    changed = m_reader.device.settingsChanged || changed;
    changed = m_faults.takeChanged() || changed;
    m_reader.device.settingsChanged = false;
    if (!changed || !m_writeBack)
        return;
    const ScenarioFile file(m_scenarioPath);
    // Replaced by the operator since we read it: their version wins and is read at the next call.
    if (file.stamp() != m_stamp)
        return;
    try {
        file.save(serializedState(m_faults.faults()));
        m_stamp = file.stamp();
    } catch (const ScenarioError &error) {
        std::fprintf(stderr, "libZentrava: %s\n", error.what());
    }
}

} // namespace zentrava
