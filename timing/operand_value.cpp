#include "timing/operand_value.h"

OperandValue FailedOperand(std::u16string_view prefix, const Text& operand) {
  OperandValue value;
  value.message.assign(prefix);
  value.message += operand;
  return value;
}

OperandValue ValueOf(TimeValue time, OperandForm form, DateEffect dateEffect) {
  OperandValue value;
  value.time = time;
  value.form = form;
  value.dateEffect = dateEffect;
  return value;
}
