#pragma once

class CCardPage;
class QWidget;

// Builds the page of a card type (its template may depend on the screen width); null for a
// card type that has no page.
CCardPage *CreateCardPage(int cardType, int screenWidth, QWidget *parent);
// The card type has a page.
bool HasCardPage(int cardType);
