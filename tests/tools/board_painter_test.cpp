#include <QFile>
#include <QPaintEngine>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdint>

#include "bitmap_writer.h"
#include "board_art.h"
#include "data/ini_file.h"
#include "edition_sheet.h"
#include "icon_art.h"
#include "painting.h"
#include "sheet_layout.h"
#include "store/editions.h"
#include "test_suites.h"
#include "ui/board_picture.h"
#include "ui/program_icon.h"

using namespace tomtura;

namespace {

std::uint32_t U32(const QByteArray& b, int at) {
  return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
         std::uint32_t(std::uint8_t(b[at + 2])) << 16 |
         std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}

QImage Gradient(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x * 40, y * 60, (x + y) * 17));
  return image;
}

// A paint device that draws nothing and keeps each piece of text painted on it.
class TextRecorder : public QPaintDevice {
 public:
  QPaintEngine* paintEngine() const override { return &engine_; }
  const QSet<QString>& texts() const { return engine_.texts; }

 protected:
  int metric(PaintDeviceMetric m) const override {
    if (m == PdmWidth || m == PdmHeight) return kBoardSize;
    if (m == PdmDevicePixelRatioScaled) return int(devicePixelRatioFScale());
    return m == PdmDepth ? 32 : m == PdmDevicePixelRatio ? 1 : 96;  // 96 dpi
  }

 private:
  struct Engine : QPaintEngine {
    Engine() : QPaintEngine(AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawTextItem(const QPointF&, const QTextItem& item) override { texts << item.text(); }
    Type type() const override { return User; }
    QSet<QString> texts;
  };
  mutable Engine engine_;
};

QSet<QString> BoardWords(const BoardTexts& texts) {
  TextRecorder recorder;
  QPainter p(&recorder);
  PaintBoard(p, texts);
  return recorder.texts();
}

}  // namespace

class BoardPainterTest : public QObject {
  Q_OBJECT

 private slots:
  void BitmapReadsBackThroughTheGameLoader_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("stride");
    QTest::newRow("1 x 1: 3 bytes padded to 4") << 1 << 1 << 4;
    QTest::newRow("3 x 2: 9 padded to 12") << 3 << 2 << 12;
    QTest::newRow("4 x 4: no padding") << 4 << 4 << 12;
  }
  void BitmapReadsBackThroughTheGameLoader() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, stride);
    const QImage image = Gradient(width, height);
    const QByteArray bytes = EncodeBitmap24(image);
    QCOMPARE(bytes.size(), 54 + stride * height);
    QCOMPARE(U32(bytes, 2), std::uint32_t(bytes.size()));
    QCOMPARE(U32(bytes, 10), 54u);  // the game's loader ignores it, other readers do not
    QCOMPARE(U32(bytes, 34), std::uint32_t(stride * height));
    QVERIFY(BoardPicture::DecodeBitmap(bytes) == image);
  }

  void WritingToAnUnwritablePlaceFails() {
    QVERIFY(!WriteBitmap24(Gradient(2, 2), "/nonexistent-dir/sheet.bmp"));
  }

  void ShippedLayoutHasNoOverlaps() {
    const auto regions = SheetRegions();
    QCOMPARE(int(regions.size()), 1 + 6 + 6 + 4 + 7 + 6 + 1 + 10 + 2 + 11 + 4);
    QCOMPARE(LayoutProblems(regions, QRect(0, 0, kSheetWidth, kSheetHeight)), QStringList());
  }

  void LayoutCheckFindsOverlapsAndStrays() {
    const std::vector<SheetRegion> regions = {
        {"a", QRect(0, 0, 10, 10)},
        {"b", QRect(10, 0, 10, 10)},   // touches a: fine
        {"c", QRect(19, 9, 5, 5)},     // shares one pixel with b
        {"d", QRect(95, 95, 10, 10)},  // past the edge
    };
    QCOMPARE(LayoutProblems(regions, QRect(0, 0, 100, 100)),
             QStringList({"b overlaps c", "d lies outside the sheet"}));
  }

  // An older board file keeps the Swedish board and tells what it lacks.
  void MissingWordsFallBackToTheSwedishOnes() {
    QTemporaryDir dir;
    QFile file(dir.filePath("old.lst"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[EDITION]\nStart=START\nMoney=GBP\nThousandsSeparator=\n[TEXTS]\n53=FORTUNE\n");
    file.close();
    QStringList warnings;
    const BoardTexts texts = ReadBoardTexts(file.fileName(), &warnings);
    QCOMPARE(QStringList({texts.start, texts.chance, texts.community, texts.jail, texts.money,
                          texts.thousandsSeparator}),
             QStringList({"START", "FORTUNE", "ALLMÄNNING", "FÄNGELSE", "%s kr", ""}));
    const QString told = warnings.join('\n');
    for (const char* gap : {"text 54", "no Jail", "no MoneySign", "needs one %s: GBP"})
      QVERIFY2(told.contains(gap), qPrintable(told));
    QVERIFY(!told.contains("no Start"));
  }

  // Whatever the Swedish board writes in its own words, the English one must not write too;
  // only the signs and the game's name are shared.
  void EnglishBoardWritesNoSwedishWord() {
    const QSet<QString> swedish = BoardWords(ReadBoardTexts(TOMTURA_ASSETS_DIR "/tomtura.lst"));
    const QSet<QString> english = BoardWords(ReadBoardTexts(TOMTURA_ASSETS_DIR "/tomtura_en.lst"));
    QCOMPARE(QSet<QString>(swedish).intersect(english), QSet<QString>({"?", "P", "Tomtura"}));
    for (const QString& text : english)
      QVERIFY2(!text.contains(QRegularExpression("[åäöÅÄÖ]|\\bkr\\b")), qPrintable(text));
  }

  // After changing the board or an edition's words:
  //   cmake --build build --target board_painter
  //   build/tools/board_painter/board_painter --board assets/tomtura.lst (and each tomtura_*.lst)
  void ShippedPicturesAreTheCurrentDrawing_data() {
    QTest::addColumn<QString>("board");
    QTest::newRow("Swedish") << "tomtura.lst";
    QTest::newRow("English") << "tomtura_en.lst";
  }
  void ShippedPicturesAreTheCurrentDrawing() {
    QFETCH(QString, board);
    const QString boardPath = QStringLiteral(TOMTURA_ASSETS_DIR "/") + board;
    QStringList warnings;
    const BoardTexts texts = ReadBoardTexts(boardPath, &warnings);
    QCOMPARE(warnings, QStringList());  // every word of the board is the edition's own
    const std::string picture = EditionPicture(IniFile::Load(boardPath.toStdString()));
    const QString path = QStringLiteral(TOMTURA_ASSETS_DIR "/") + QString::fromStdString(picture);
    QVERIFY2(BoardPicture::LoadBitmapFile(path) == PaintSheet(texts), qPrintable(path));
  }

  // After changing the icon:
  //   cmake --build build --target board_painter && build/tools/board_painter/board_painter
  void ShippedIconsAreTheCurrentDrawing() {
    for (const int size : kProgramIconSizes) {
      const QString path = QStringLiteral(TOMTURA_ASSETS_DIR "/") + ProgramIconFile(size);
      const QImage shipped(path);
      QCOMPARE(shipped.size(), QSize(size, size));  // a missing file is an image of no size
      QCOMPARE(shipped.convertToFormat(QImage::Format_ARGB32),
               PaintProgramIcon(size).convertToFormat(QImage::Format_ARGB32));
    }
  }
};

TOMTURA_TEST_SUITE(BoardPainterTest);
#include "board_painter_test.moc"
