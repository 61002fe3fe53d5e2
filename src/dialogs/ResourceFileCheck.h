#pragma once

#include <QByteArray>

// Whether `data` is a Qt binary resource file whose every tree node, name and data entry lies
// inside it. Qt trusts the offsets of a registered resource file without checking them, so a
// damaged file with an intact header would make it read far outside the file and crash; such a
// file must be refused before it is registered.
bool IsSoundResourceData(const QByteArray &data);
