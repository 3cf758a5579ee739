#include "ui/statistics_window.h"

#include <QBuffer>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSplitter>
#include <QStandardPaths>
#include <QTableWidget>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "data/money.h"
#include "rules/game.h"
#include "ui/board_picture.h"
#include "ui/qt_front_end.h"

namespace tomtura {

namespace {

constexpr int kTokenPictures = 10;
constexpr int kOutlineLightness = 40;  // darker painted pixels are the token's outline
constexpr int kLineWidth = 2;
constexpr QSize kPreferredSize(960, 700);
constexpr double kScreenShare = 0.9;
constexpr int kChartShare = 58;  // per cent of the height for the chart
constexpr int kWorthTicks = 6;   // about as many money labels up the chart
constexpr int kTurnTicks = 8;    // and turn numbers along it

// A step of 1, 2 or 5 times a power of ten that cuts `span` into about `parts`.
qint64 NiceStep(qint64 span, int parts) {
  const double rough = std::max(1.0, static_cast<double>(span) / parts);
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (double factor : {1.0, 2.0, 5.0, 10.0}) {
    if (factor * power >= rough) return static_cast<qint64>(factor * power);
  }
  return static_cast<qint64>(10 * power);
}

// A line of the table: its words, and its value for a player.
struct TableLine {
  const char* text;
  bool money;
  qint64 (*value)(const GameHistory& history, int player);
};

qint64 Tally(const GameHistory& h, int p, std::int64_t PlayerTally::*field) {
  return h.tallies()[p].*field;
}

const TableLine kLines[] = {
    {QT_TRANSLATE_NOOP("tomtura::StatisticsWindow", "Worth"), true,
     [](const GameHistory& h, int p) -> qint64 { return h.current().worth[p]; }},
    {QT_TRANSLATE_NOOP("tomtura::StatisticsWindow", "Money"), true,
     [](const GameHistory& h, int p) -> qint64 { return h.current().cash[p]; }},
    {QT_TRANSLATE_NOOP("tomtura::StatisticsWindow", "Rent paid"), true,
     [](const GameHistory& h, int p) { return Tally(h, p, &PlayerTally::rentPaid); }},
    {QT_TRANSLATE_NOOP("tomtura::StatisticsWindow", "Rent received"), true,
     [](const GameHistory& h, int p) { return Tally(h, p, &PlayerTally::rentReceived); }},
    {QT_TRANSLATE_NOOP("tomtura::StatisticsWindow", "Salary"), true,
     [](const GameHistory& h, int p) { return Tally(h, p, &PlayerTally::salary); }},
    {QT_TRANSLATE_NOOP("tomtura::StatisticsWindow", "Taxes"), true,
     [](const GameHistory& h, int p) { return Tally(h, p, &PlayerTally::taxes); }},
    {QT_TRANSLATE_NOOP("tomtura::StatisticsWindow", "Cards, received less paid"), true,
     [](const GameHistory& h, int p) { return Tally(h, p, &PlayerTally::cards); }},
    {QT_TRANSLATE_NOOP("tomtura::StatisticsWindow", "Bail and fees"), true,
     [](const GameHistory& h, int p) { return Tally(h, p, &PlayerTally::bailAndFees); }},
    {QT_TRANSLATE_NOOP("tomtura::StatisticsWindow", "Properties bought from the bank"), false,
     [](const GameHistory& h, int p) { return Tally(h, p, &PlayerTally::bought); }},
    {QT_TRANSLATE_NOOP("tomtura::StatisticsWindow", "Houses bought"), false,
     [](const GameHistory& h, int p) { return Tally(h, p, &PlayerTally::housesBought); }},
    {QT_TRANSLATE_NOOP("tomtura::StatisticsWindow", "Houses sold"), false,
     [](const GameHistory& h, int p) { return Tally(h, p, &PlayerTally::housesSold); }},
    {QT_TRANSLATE_NOOP("tomtura::StatisticsWindow", "Mortgages taken"), false,
     [](const GameHistory& h, int p) { return Tally(h, p, &PlayerTally::mortgages); }},
    {QT_TRANSLATE_NOOP("tomtura::StatisticsWindow", "Mortgages lifted"), false,
     [](const GameHistory& h, int p) { return Tally(h, p, &PlayerTally::mortgagesLifted); }},
    {QT_TRANSLATE_NOOP("tomtura::StatisticsWindow", "Deals made"), false,
     [](const GameHistory& h, int p) { return Tally(h, p, &PlayerTally::deals); }},
    {QT_TRANSLATE_NOOP("tomtura::StatisticsWindow", "Turns in jail"), false,
     [](const GameHistory& h, int p) { return Tally(h, p, &PlayerTally::jailTurns); }},
    {QT_TRANSLATE_NOOP("tomtura::StatisticsWindow", "Bankruptcies caused"), false,
     [](const GameHistory& h, int p) { return Tally(h, p, &PlayerTally::bankruptciesCaused); }},
};

// A CSV field, quoted when it holds a separator, a quote or a line break.
QString CsvField(const QString& text) {
  if (!text.contains(QRegularExpression(QStringLiteral("[,\"\\r\\n]")))) return text;
  return '"' + QString(text).replace('"', QStringLiteral("\"\"")) + '"';
}

bool WriteWhole(const QString& path, const QByteArray& bytes) {
  return WriteFileAtomically(QFile::encodeName(path).toStdString(),
                             std::string_view(bytes.constData(), bytes.size()));
}

}  // namespace

QColor TokenColour(const BoardPicture& picture, int token) {
  if (picture.isNull() || token < 0 || token >= kTokenPictures) return Qt::darkGray;
  const QImage image = picture.Token(token).toImage().convertToFormat(QImage::Format_ARGB32);
  qint64 red = 0, green = 0, blue = 0, count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor colour = image.pixelColor(x, y);
      if (colour.alpha() == 0 || colour.lightness() < kOutlineLightness) continue;
      red += colour.red();
      green += colour.green();
      blue += colour.blue();
      ++count;
    }
  }
  if (count == 0) return Qt::darkGray;
  return QColor(int(red / count), int(green / count), int(blue / count));
}

StatisticsWindow::StatisticsWindow(const Game& game, const BoardPicture& picture, QtFrontEnd& ui,
                                   QWidget* parent)
    : QDialog(parent), game_(game), picture_(picture), ui_(ui) {
  setWindowTitle(tr("Statistics"));
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  auto* layout = new QVBoxLayout(this);

  const GameHistory& history = game_.history;
  note_ = new QLabel(this);
  note_->setWordWrap(true);
  if (history.start() == HistoryStart::Load) {
    note_->setText(tr("This game was loaded without its statistics: they begin at the load."));
  } else {
    note_->hide();
  }
  layout->addWidget(note_);

  auto* splitter = new QSplitter(Qt::Vertical, this);
  chartView_ = new QChartView(new QChart(), splitter);
  chartView_->setRenderHint(QPainter::Antialiasing);
  chartView_->setMinimumHeight(200);
  table_ = new QTableWidget(splitter);
  splitter->addWidget(chartView_);
  splitter->addWidget(table_);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 2);
  splitter->setSizes({kChartShare, 100 - kChartShare});
  layout->addWidget(splitter, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* savePicture =
      buttons->addButton(tr("Save chart as &picture..."), QDialogButtonBox::ActionRole);
  QPushButton* saveTable =
      buttons->addButton(tr("Save table as &CSV..."), QDialogButtonBox::ActionRole);
  connect(savePicture, &QPushButton::clicked, this, [this] { Export(true); });
  connect(saveTable, &QPushButton::clicked, this, [this] { Export(false); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  BuildChart();
  BuildTable();

  QSize size = kPreferredSize;
  if (const QScreen* screen = parent != nullptr ? parent->screen() : this->screen()) {
    size = size.boundedTo(screen->availableGeometry().size() * kScreenShare);
  }
  resize(size);
}

QChart* StatisticsWindow::chart() const {
  return chartView_->chart();
}

QString StatisticsWindow::Money(qint64 amount) const {
  return QString::fromStdString(game_.texts.money().Write(amount));
}

void StatisticsWindow::BuildChart() {
  const GameHistory& history = game_.history;
  const GameState& state = game_.state;
  QChart* chart = chartView_->chart();
  chart->setTitle(tr("Worth after each turn"));
  chart->legend()->setAlignment(Qt::AlignBottom);
  chart->setMargins(QMargins(4, 4, 4, 4));

  qint64 low = 0, high = 0;
  for (const TurnPoint& point : history.points()) {
    for (int p = 0; p < history.playerCount(); ++p) {
      low = std::min<qint64>(low, point.worth[p]);
      high = std::max<qint64>(high, point.worth[p]);
    }
  }
  for (int p = 0; p < history.playerCount(); ++p) {
    auto* line = new QLineSeries(chart);
    line->setName(QString::fromStdString(game_.PlayerName(p)));
    QPen pen(TokenColour(picture_, state.players[p].token));
    pen.setWidth(kLineWidth);
    line->setPen(pen);
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(history.points().size()));
    for (const TurnPoint& point : history.points()) {
      points.append(QPointF(point.turn, static_cast<double>(point.worth[p])));
    }
    line->replace(points);
    connect(line, &QLineSeries::hovered, this,
            [this](const QPointF& at, bool entering) { ShowPoint(at, entering); });
    chart->addSeries(line);
    series_.append(line);
  }

  auto* turns = new QValueAxis(chart);
  turns->setTitleText(tr("Turn"));
  turns->setLabelFormat(QStringLiteral("%d"));
  const int last = std::max(1, history.points().empty() ? 1 : history.points().back().turn);
  turns->setRange(0, last);
  turns->setTickType(QValueAxis::TicksDynamic);
  turns->setTickAnchor(0);
  turns->setTickInterval(static_cast<double>(NiceStep(last, kTurnTicks)));
  // The worth axis is labelled in the edition's money, at steps of a round amount.
  auto* worth = new QCategoryAxis(chart);
  worth->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  const qint64 step = NiceStep(std::max<qint64>(high - low, 1), kWorthTicks);
  const qint64 bottom = static_cast<qint64>(std::floor(static_cast<double>(low) / step)) * step;
  const qint64 top = static_cast<qint64>(std::ceil(static_cast<double>(high) / step)) * step;
  for (qint64 tick = bottom; tick <= std::max(top, bottom + step); tick += step) {
    worth->append(Money(tick), static_cast<double>(tick));
  }
  worth->setRange(static_cast<double>(bottom), static_cast<double>(std::max(top, bottom + step)));
  worth->setStartValue(static_cast<double>(bottom));
  chart->addAxis(turns, Qt::AlignBottom);
  chart->addAxis(worth, Qt::AlignLeft);
  for (QLineSeries* line : std::as_const(series_)) {
    line->attachAxis(turns);
    line->attachAxis(worth);
  }
}

void StatisticsWindow::BuildTable() {
  const GameHistory& history = game_.history;
  const int players = history.playerCount();
  table_->setRowCount(static_cast<int>(std::size(kLines)));
  table_->setColumnCount(players);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  QStringList names;
  for (int p = 0; p < players; ++p) {
    QString name = QString::fromStdString(game_.PlayerName(p));
    names << name;
    auto* header = new QTableWidgetItem(name);
    header->setForeground(TokenColour(picture_, game_.state.players[p].token).darker(130));
    table_->setHorizontalHeaderItem(p, header);
  }
  rowNames_.clear();
  for (int row = 0; row < static_cast<int>(std::size(kLines)); ++row) {
    const TableLine& line = kLines[row];
    rowNames_ << tr(line.text);
    for (int p = 0; p < players; ++p) {
      const qint64 value = line.value(history, p);
      auto* item = new QTableWidgetItem(line.money ? Money(value) : QString::number(value));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      item->setData(Qt::UserRole, value);
      table_->setItem(row, p, item);
    }
  }
  table_->setVerticalHeaderLabels(rowNames_);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
}

QString StatisticsWindow::PointText(int index) const {
  const GameHistory& history = game_.history;
  if (index < 0 || index >= static_cast<int>(history.points().size())) return {};
  const TurnPoint& point = history.points()[index];
  QString text = point.player >= 0 && point.player < history.playerCount()
                     ? tr("Turn %1 (%2)")
                           .arg(point.turn)
                           .arg(QString::fromStdString(game_.PlayerName(point.player)))
                     : tr("Start");
  for (int p = 0; p < history.playerCount(); ++p) {
    text += '\n' + tr("%1: worth %2, money %3")
                       .arg(QString::fromStdString(game_.PlayerName(p)), Money(point.worth[p]),
                            Money(point.cash[p]));
  }
  return text;
}

void StatisticsWindow::ShowPoint(const QPointF& at, bool entering) {
  if (!entering) {
    QToolTip::hideText();
    return;
  }
  const auto& points = game_.history.points();
  const int turn = static_cast<int>(std::lround(at.x()));
  const auto found = std::lower_bound(points.begin(), points.end(), turn,
                                      [](const TurnPoint& p, int t) { return p.turn < t; });
  const int index =
      static_cast<int>(std::min<std::ptrdiff_t>(found - points.begin(), std::ssize(points) - 1));
  QToolTip::showText(QCursor::pos(), PointText(index), chartView_);
}

QString StatisticsWindow::TableCsv() const {
  QStringList header{QString()};
  for (int p = 0; p < table_->columnCount(); ++p) header << table_->horizontalHeaderItem(p)->text();
  QString csv;
  const auto row = [&csv](const QStringList& fields) {
    QStringList quoted;
    for (const QString& field : fields) quoted << CsvField(field);
    csv += quoted.join(',') + '\n';
  };
  row(header);
  for (int r = 0; r < table_->rowCount(); ++r) {
    QStringList fields{rowNames_.value(r)};
    for (int p = 0; p < table_->columnCount(); ++p) {
      fields << QString::number(table_->item(r, p)->data(Qt::UserRole).toLongLong());
    }
    row(fields);
  }
  return csv;
}

bool StatisticsWindow::SaveChart(const QString& path) const {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  return chartView_->grab().save(&buffer, "PNG") && WriteWhole(path, bytes);
}

bool StatisticsWindow::SaveTable(const QString& path) const {
  return WriteWhole(path, TableCsv().toUtf8());
}

// Asks where, in the documents folder, and writes; a file that cannot be written is said so.
void StatisticsWindow::Export(bool chart) {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!QFileInfo(folder).isDir()) folder = QDir::homePath();
  const QString suffix = chart ? QStringLiteral("png") : QStringLiteral("csv");
  QFileDialog dialog(this, chart ? tr("Save the chart") : tr("Save the table"), folder,
                     chart ? tr("PNG pictures (*.png)") : tr("CSV tables (*.csv)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(suffix);
  if (ui_.RunModal(dialog) != QDialog::Accepted) return;
  const QString path = dialog.selectedFiles().value(0);
  if (path.isEmpty()) return;
  if (!(chart ? SaveChart(path) : SaveTable(path))) {
    ui_.Ask(tr("%1 cannot be written.").arg(QDir::toNativeSeparators(path)), QMessageBox::Critical,
            QMessageBox::Ok);
  }
}

}  // namespace tomtura
