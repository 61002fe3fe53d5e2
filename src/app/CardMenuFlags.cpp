#include "app/CardMenuFlags.h"

// This build offers the contactless cards and the pass-through console; the contact cards and
// the SAM module are left out.
const CardMenuFlags CardMenuEnabled = {
    {{{32802, true}, {32787, true}, {32774, true}, {32810, true}, {32813, true}, {32786, true}}},
    {{{32788, true}, {32789, true}, {32776, true}, {32811, true}, {32815, true}}},
    {{{32812, true}, {32790, true}, {32804, true}, {32805, true}}},
    {{{32800, false}, {32792, false}, {32793, false}, {32794, false}, {32795, false}, {32796, false},
      {32797, false}, {32798, false}, {32799, false}}},
    false,
    true,
};
