#pragma once

#include "link/CommandTable.h"

#include <QByteArray>
#include <QDateTime>

class InstrumentModel;

// The instrument's answer to one well-formed request: what it does to the
// model and the answer frame it sends back, laid out by the command table.
namespace InstrumentAnswers {

// `request` is the whole request frame. With `confirmOther` the instrument
// applies and confirms another value than the one written (m10, m20, m30,
// T10; other requests ignore it).
QByteArray reply(InstrumentModel &model, const CommandFormat &format, const QByteArray &request,
                 bool confirmOther = false);

// "dd.MM.yyyy hh:mm:ss", the date and time as the instrument answers them.
QByteArray dateTimeText(const QDateTime &time);

// The value a misbehaving instrument confirms instead of `written`.
float otherValue(float written);

}  // namespace InstrumentAnswers
