#pragma once
// How the game went: a line chart of each player's worth after every turn, in the colour of his
// token, and beneath it a table of what each player paid, received, built, mortgaged and dealt.
// Pointing at the chart names the turn and the amounts. The chart can be saved as a PNG picture
// and the table as CSV. It reads the game's history; it changes nothing.
#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QTableWidget;

namespace tomtura {

class BoardPicture;
class Game;
class QtFrontEnd;

// The colour of token picture `token`: the average of its painted pixels, its dark outline and
// the transparent key left out.
QColor TokenColour(const BoardPicture& picture, int token);

class StatisticsWindow : public QDialog {
  Q_OBJECT

 public:
  StatisticsWindow(const Game& game, const BoardPicture& picture, QtFrontEnd& ui,
                   QWidget* parent = nullptr);

  QChart* chart() const;
  QChartView* chartView() const { return chartView_; }
  QTableWidget* table() const { return table_; }
  // Shown when the history begins later than the game: at the load of a game saved without one.
  QLabel* note() const { return note_; }
  const QList<QLineSeries*>& series() const { return series_; }

  // What pointing at the history's point `index` shows: the turn, whose it was, and each
  // player's worth and money.
  QString PointText(int index) const;
  // The table as CSV: a row of names, then a row per line of the table with plain numbers.
  QString TableCsv() const;
  // The chart as a PNG picture at `path`, or the table as CSV; false when it cannot be written.
  bool SaveChart(const QString& path) const;
  bool SaveTable(const QString& path) const;

 private:
  void BuildChart();
  void BuildTable();
  void ShowPoint(const QPointF& point, bool entering);
  void Export(bool chart);
  QString Money(qint64 amount) const;

  const Game& game_;
  const BoardPicture& picture_;
  QtFrontEnd& ui_;
  QChartView* chartView_ = nullptr;
  QTableWidget* table_ = nullptr;
  QLabel* note_ = nullptr;
  QList<QLineSeries*> series_;
  QStringList rowNames_;
};

}  // namespace tomtura
