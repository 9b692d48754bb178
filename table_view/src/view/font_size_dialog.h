#pragma once
// The cell font dialog: a family list and a size list that holds only the
// sizes the grid draws (8 to 14 points), with a sample of the choice. The
// sizes are whole points, so no typed size can fall outside them.
#include <QDialog>
#include <QFont>

class QFontComboBox;
class QLabel;
class QListWidget;

namespace axview {

class CFontSizeDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMinPoints = 8;
  static constexpr int kMaxPoints = 14;

  // Starts with font's family and its size, brought into the range.
  explicit CFontSizeDialog(const QFont& font, QWidget* parent = nullptr);

  // The chosen font at its chosen size.
  QFont SelectedFont() const;
  // The sizes offered, in points, ascending.
  QList<int> OfferedSizes() const;
  void SelectSize(int points);
  void SelectFamily(const QString& family);

 private:
  void UpdateSample();

  QFont m_base;
  QFontComboBox* m_family = nullptr;
  QListWidget* m_sizes = nullptr;
  QLabel* m_sample = nullptr;
};

}  // namespace axview
