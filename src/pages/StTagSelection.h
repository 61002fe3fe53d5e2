#pragma once

#include <QByteArray>

class ReaderOperation;

// Activation of the ST short-range tags (SR176, SRIX4K): the antenna cycle in their radio mode
// and rf_st_select, tried twice. Every failing step is logged and reported; on success the
// one-byte chip ID. The operation has passed its port check.
bool SelectStTag(ReaderOperation &operation, QByteArray &chipId);
