#pragma once
// Companies with their emission points and sensitive locations to and from JSON, for scripts,
// batches and migrations:
//
//   {"bedrijven":[{"naam":"Jansen","meteo":"Eindhoven","aanmaakdatum":"20261211",
//     "bronnen":[{"id":"EP1","x":155000,"y":463000,"ep_hoogte":6.5,"gem_gebouwhoogte":5.0,
//                 "ep_diameter":0.5,"ep_uittreesnelheid":4.0,"e_aanvraag":12000}],
//     "ggl":[{"id":"Woning 1","x":155300,"y":463000,"geurnorm":2.0}]}]}
//
// On import "meteo" defaults to "Schiphol", "aanmaakdatum" (yyyymmdd) to today, "ep_diameter" to
// 0.5 and "ep_uittreesnelheid" to 4.0 (the values of a new record); the other numbers to 0.

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

#include "platform/clock.h"
#include "platform/messages.h"
#include "store/dictionary.h"

namespace definitions {

struct ImportOptions {
    // Store the values as given, without the range checks of the forms (migrations, and data
    // that is to be refused later by the checks of the frozen copies).
    bool unchecked = false;
};

// Reads the whole file first: a malformed file, a value of the wrong kind, a text that does not
// fit its field, or (unless unchecked) a value outside the ranges of the emission-point and
// sensitive-location forms is reported with the item named, and nothing is stored. Otherwise
// every company is stored with its rows in one transaction. Returns the new BED:ID values in
// file order, or nullopt after a message.
[[nodiscard]] std::optional<QList<int32_t>> importCompanies(store::Dictionary& dictionary,
                                                            platform::MessageSink& messages,
                                                            const QByteArray& json,
                                                            const platform::Clock& clock,
                                                            ImportOptions options = {});

// The companies with these identifiers (all companies, by identifier, when the list is empty) in
// the format above. An identifier that does not exist is reported and gives nullopt.
[[nodiscard]] std::optional<QByteArray> exportCompanies(store::Dictionary& dictionary,
                                                        platform::MessageSink& messages,
                                                        const QList<int32_t>& ids);

}  // namespace definitions
