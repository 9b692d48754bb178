#include "axview/byte_limit_validator.h"

#include "platform/cp932.h"

CByteLimitValidator::CByteLimitValidator(int maxBytes, QObject* parent) : QValidator(parent), m_maxBytes(maxBytes) {}

QValidator::State CByteLimitValidator::validate(QString& input, int&) const {
  const size_t bytes = platform::Cp932Length(input.toStdString());
  return bytes <= static_cast<size_t>(m_maxBytes) ? Acceptable : Invalid;
}
