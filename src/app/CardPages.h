#pragma once

#include "base/CardTypes.h"

class CCardPage;
class QWidget;

// Builds the page of a card type (its template may depend on the screen width); null for a
// card type that has no page.
CCardPage *CreateCardPage(CardKind kind, int screenWidth, QWidget *parent);
// The card type has a page.
bool HasCardPage(CardKind kind);
