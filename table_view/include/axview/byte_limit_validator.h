#pragma once
// A validator that limits a text field by the bytes its text takes in code
// page 932, the encoding of the stored texts: a Japanese character counts
// two, so the limit the user sees while typing is the one the file keeps.
#include <QValidator>

#include "axview/axview_export.h"

class AXVIEW_API CByteLimitValidator : public QValidator {
  Q_OBJECT

 public:
  CByteLimitValidator(int maxBytes, QObject* parent);
  void SetMaxBytes(int maxBytes) { m_maxBytes = maxBytes; }
  int MaxBytes() const { return m_maxBytes; }
  State validate(QString& input, int& pos) const override;

 private:
  int m_maxBytes;
};
