// What an operand evaluates to: one moment, or a day, or the error that
// stopped it.
#pragma once

#include "base/text.h"
#include "base/time_value.h"

// What an operand stands for.
enum class OperandForm {
  Moment,       // a UTC moment: a file's stamp, NOW, a date: moment
  DayOfMoment,  // the calendar day of a UTC moment on the date mode's clock: TODAY
  WrittenDay,   // a calendar day as written (date:YYYY-MM-DD), already on that clock
};

// What an operand asks of the run's date mode.
enum class DateEffect {
  None,              // nothing: a file's stamp
  LocalUnlessGiven,  // local days, unless a date option chose them: TODAY, a date: day
  Exact,             // date and time, whatever the options say: NOW, a date: moment
};

struct OperandValue {
  // A UTC moment; for a WrittenDay the first tick of that day on the clock
  // it is compared on (local or UTC), 0 and on.
  TimeValue time = 0;
  OperandForm form = OperandForm::Moment;
  DateEffect dateEffect = DateEffect::None;
  Text message;  // empty unless the operand could not be evaluated
  // A set: the member that gave the value, and whether a part of the set
  // that could not be read was passed over because the answer was decided.
  Text member;
  bool partlyRead = false;

  bool IsDay() const { return form != OperandForm::Moment; }
  bool Failed() const { return !message.empty(); }
};

// A value without a message.
OperandValue ValueOf(TimeValue time, OperandForm form, DateEffect dateEffect);

// An operand that could not be evaluated: `prefix` + the operand as given.
OperandValue FailedOperand(std::u16string_view prefix, const Text& operand);
