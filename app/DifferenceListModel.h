// The results view's list of differences: one row per kept difference,
// each row's text made only when the view asks for it, so that a run of
// tens of thousands of differences costs no more to show than a short one.

#ifndef TESSEL_APP_DIFFERENCELISTMODEL_H_
#define TESSEL_APP_DIFFERENCELISTMODEL_H_

#include <QAbstractListModel>
#include <QString>

namespace tessel::app {

class ResultsSink;

class DifferenceListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  // `results` must outlive the model and not change while it is shown.
  explicit DifferenceListModel(const ResultsSink& results,
                               QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  // Row i's text: its number, each source's line, and each source's span
  // ("" shown as "—"), as "12  第 3 / 5 行  爲 | 為".
  QString RowText(int row) const;

  // How many characters of a span a row shows before an ellipsis.
  static constexpr int kShownSpanCharacters = 24;

 private:
  const ResultsSink& results_;
};

}  // namespace tessel::app

#endif  // TESSEL_APP_DIFFERENCELISTMODEL_H_
