#include "timing/operand_value.h"

OperandValue FailedOperand(std::u16string_view prefix, const Text& operand) {
  OperandValue value;
  value.message.assign(prefix);
  value.message += operand;
  return value;
}
