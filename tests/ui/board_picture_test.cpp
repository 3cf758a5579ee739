#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdint>

#include "ui/board_picture.h"

using namespace tomtura;

namespace {

void Put16(QByteArray& b, int at, int v) {
  b[at] = char(v & 0xFF);
  b[at + 1] = char((v >> 8) & 0xFF);
}
void Put32(QByteArray& b, int at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// A BMP file as the loader sees it: headers, `colours` table entries, then the pixel rows.
struct BmpShape {
  int width = 2;
  int height = 2;
  int bits = 24;
  std::uint32_t clrUsed = 0;
  int tableEntries = 0;
};

QByteArray MakeBmp(const BmpShape& s, const QByteArray& pixels, const QList<QRgb>& table = {}) {
  QByteArray b(54, '\0');
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 10, 0x12345);  // deliberately wrong: the loader must not use the offset field
  Put32(b, 14, 40);
  Put32(b, 18, std::uint32_t(s.width));
  Put32(b, 22, std::uint32_t(s.height));
  Put16(b, 26, 1);
  Put16(b, 28, s.bits);
  Put32(b, 46, s.clrUsed);
  for (int i = 0; i < s.tableEntries; ++i) {
    const QRgb c = i < table.size() ? table[i] : qRgb(1, 2, 3);
    b.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
  }
  b.append(pixels);
  Put32(b, 2, std::uint32_t(b.size()));
  return b;
}

// A valid 3 x 2 picture at 24 bits: rows of 9 bytes padded to 12.
QByteArray Small24() {
  return MakeBmp({3, 2, 24, 0, 0}, QByteArray(2 * 12, '\0'));
}

QImage Filled(int w, int h, QColor c) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(c);
  return image;
}

}  // namespace

class BoardPictureTest : public QObject {
  Q_OBJECT

 private slots:
  void RefusesMalformedFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = Small24();
    const auto patched = [&good](int at, std::uint32_t value) {
      QByteArray bytes = good;
      Put32(bytes, at, value);
      return bytes;
    };
    QTest::newRow("not BM") << QByteArray(good).replace(0, 2, "BA");
    for (std::uint32_t headerSize : {12, 56, 108, 124})
      QTest::addRow("header size %u", headerSize) << patched(14, headerSize);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("headers cut") << good.left(53);
    QTest::newRow("last pixel byte missing") << good.left(good.size() - 1);
    QTest::newRow("8-bit with 0 colours needs 256 entries")
        << MakeBmp({2, 1, 8, 0, 4}, QByteArray(4, '\0'));
    QTest::newRow("compressed") << patched(30, 1);
    QTest::newRow("32-bit") << MakeBmp({1, 1, 32, 0, 0}, QByteArray(4, '\0'));
    QTest::newRow("colour count beyond the file") << patched(46, 0xFFFFFFFFu);
    QTest::newRow("width 0") << patched(18, 0);
    QTest::newRow("height 0") << patched(22, 0);
    QTest::newRow("height beyond the file") << patched(22, 0x7FFFFFFF);
  }
  void RefusesMalformedFiles() {
    QFETCH(QByteArray, bytes);
    QVERIFY(!BoardPicture::DecodeBitmap(bytes).has_value());
  }

  void ReadsTopDownRows() {
    QByteArray px;
    px.append("\x01\x02\x03\x00", 4).append("\x04\x05\x06\x00", 4);
    const auto image = BoardPicture::DecodeBitmap(MakeBmp({1, -2, 24, 0, 0}, px));
    QVERIFY(image.has_value());
    QCOMPARE(image->pixel(0, 0), qRgb(3, 2, 1));
    QCOMPARE(image->pixel(0, 1), qRgb(6, 5, 4));
  }

  void Reads8BitWithImpliedAndGivenColourCounts() {
    // biClrUsed 0: 256 entries, pixels at 54 + 1024.
    QList<QRgb> table(256, qRgb(9, 9, 9));
    table[1] = qRgb(1, 100, 200);
    table[255] = qRgb(255, 128, 0);
    const QByteArray full = MakeBmp({3, 1, 8, 0, 256}, QByteArray("\x01\xFF\x00\x00", 4), table);
    auto image = BoardPicture::DecodeBitmap(full);
    QVERIFY(image.has_value());
    QCOMPARE(image->pixel(0, 0), qRgb(1, 100, 200));
    QCOMPARE(image->pixel(1, 0), qRgb(255, 128, 0));

    // biClrUsed 2: pixels right after two entries; an index past the table is black.
    const QByteArray two = MakeBmp({3, 1, 8, 2, 2}, QByteArray("\x01\x00\x07\x00", 4),
                                   {qRgb(10, 0, 0), qRgb(0, 20, 0)});
    image = BoardPicture::DecodeBitmap(two);
    QVERIFY(image.has_value());
    QCOMPARE(image->pixel(0, 0), qRgb(0, 20, 0));
    QCOMPARE(image->pixel(2, 0), qRgb(0, 0, 0));
  }

  void ReadsFourBitNibblesHighFirst() {
    QList<QRgb> table(16, qRgb(0, 0, 0));
    table[0xA] = qRgb(1, 1, 1);
    table[0x3] = qRgb(3, 3, 3);
    const auto image =
        BoardPicture::DecodeBitmap(MakeBmp({3, 1, 4, 0, 16}, QByteArray("\xA3\x30\0\0", 4), table));
    QVERIFY(image.has_value());
    QCOMPARE(image->pixel(0, 0), qRgb(1, 1, 1));
    QCOMPARE(image->pixel(1, 0), qRgb(3, 3, 3));
    QCOMPARE(image->pixel(2, 0), qRgb(3, 3, 3));
  }

  void LoadKeepsTheSheetWhenRefused() {
    QTemporaryDir dir;
    const QString good = dir.filePath("good.bmp");
    const QString bad = dir.filePath("bad.bmp");
    for (const auto& [path, bytes] : {std::pair(good, Small24()), {bad, Small24().left(60)}}) {
      QFile f(path);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(bytes);
    }
    BoardPicture picture;
    QVERIFY(picture.Load(good));
    QVERIFY(!picture.Load(bad));
    QVERIFY(!picture.Load(dir.filePath("missing.bmp")));
    QCOMPARE(picture.sheet().size(), QSize(3, 2));
    QVERIFY(!picture.hasStandardSize());
  }

  void SpriteLeavesBackgroundWhereKeyedAndSheetUnchanged() {
    QImage sheet = Filled(kSheetWidth, kSheetHeight, Qt::white);
    const QRect token = sheet::Token(2);
    // A red square in the middle of token 2; the rest of the token is the white key.
    for (int y = 10; y < 30; ++y)
      for (int x = 10; x < 30; ++x) sheet.setPixel(token.x() + x, token.y() + y, qRgb(200, 0, 0));
    BoardPicture picture;
    picture.SetSheet(sheet);
    const QImage before = picture.sheet();

    QImage target = Filled(60, 60, QColor(0, 128, 0));
    {
      QPainter p(&target);
      p.drawPixmap(5, 5, picture.Token(2));
    }
    QCOMPARE(target.pixel(5, 5), qRgb(0, 128, 0));    // keyed corner: background
    QCOMPARE(target.pixel(15, 15), qRgb(200, 0, 0));  // first sprite pixel
    QCOMPARE(target.pixel(35, 35), qRgb(0, 128, 0));
    QCOMPARE(picture.sheet(), before);

    // Cut once: the same pixmap comes back until the sheet is replaced.
    QCOMPARE(&picture.Token(2), &picture.Token(2));
    picture.SetSheet(Filled(kSheetWidth, kSheetHeight, QColor(0, 0, 255)));
    QCOMPARE(picture.Token(2).toImage().pixel(0, 0), qRgb(0, 0, 255));
  }

  void EachRegionUsesItsOwnKeyColour_data() {
    QTest::addColumn<QRect>("region");
    QTest::addColumn<QRgb>("key");
    QTest::addColumn<int>("which");
    QTest::newRow("die face 6") << sheet::DieFace(6) << kKeyDice << 0;
    QTest::newRow("icon 6") << sheet::ButtonIcon(6) << kKeySilver << 1;
    QTest::newRow("marker 10") << sheet::GroupMarker(10) << kKeyCream << 2;
    QTest::newRow("hotel left") << sheet::Hotel(2) << kKeyWhite << 3;
  }
  void EachRegionUsesItsOwnKeyColour() {
    QFETCH(QRect, region);
    QFETCH(QRgb, key);
    QFETCH(int, which);
    QImage sheet = Filled(kSheetWidth, kSheetHeight, QColor(50, 60, 70));
    sheet.setPixel(region.topLeft(), key);
    sheet.setPixel(region.bottomRight(), qRgb(255, 255, 254));  // one off every key
    BoardPicture picture;
    picture.SetSheet(sheet);
    const QPixmap* sprites[] = {&picture.DieFace(6), &picture.ButtonIcon(6),
                                &picture.GroupMarker(10), &picture.Hotel(2)};
    const QImage cut = sprites[which]->toImage();
    QCOMPARE(cut.size(), region.size());
    QCOMPARE(qAlpha(cut.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(cut.pixel(cut.width() - 1, cut.height() - 1)), 255);
    QCOMPARE(cut.pixel(1, 0), qRgb(50, 60, 70));
  }

  void OwnerMarkIsTheTokenReduced() {
    QImage sheet = Filled(kSheetWidth, kSheetHeight, Qt::white);
    const QRect token = sheet::Token(4);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 40; ++x) sheet.setPixel(token.x() + x, token.y() + y, qRgb(0, 0, 160));
    BoardPicture picture;
    picture.SetSheet(sheet);
    const QImage mark = picture.OwnerMark(4).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(mark.size(), QSize(20, 20));
    QCOMPARE(mark.pixel(10, 3), qRgb(0, 0, 160));
    QCOMPARE(qAlpha(mark.pixel(10, 16)), 0);
  }

  void Frame3DDrawsLightAndDarkSides_data() {
    QTest::addColumn<bool>("raised");
    QTest::addColumn<bool>("dim");
    QTest::addColumn<QRgb>("topLeftSide");
    QTest::addColumn<QRgb>("bottomRightSide");
    QTest::newRow("raised bright") << true << false << qRgb(255, 255, 255) << qRgb(128, 128, 128);
    QTest::newRow("sunken dim") << false << true << qRgb(0, 0, 0) << qRgb(192, 192, 192);
  }
  void Frame3DDrawsLightAndDarkSides() {
    QFETCH(bool, raised);
    QFETCH(bool, dim);
    QFETCH(QRgb, topLeftSide);
    QFETCH(QRgb, bottomRightSide);
    const QRgb blank = qRgb(0, 100, 0);
    QImage image = Filled(12, 10, QColor(blank));
    {
      QPainter p(&image);
      Frame3D(p, QRect(1, 1, 8, 6), raised, dim, 0);  // x 1..8, y 1..6
    }
    // The top line takes the top-right corner, the bottom line the bottom-left one.
    for (QPoint light : {QPoint(1, 1), QPoint(8, 1), QPoint(1, 5)})
      QCOMPARE(image.pixel(light), topLeftSide);
    for (QPoint dark : {QPoint(1, 6), QPoint(8, 2), QPoint(8, 6)})
      QCOMPARE(image.pixel(dark), bottomRightSide);
    for (QPoint outside : {QPoint(0, 0), QPoint(9, 7), QPoint(4, 4)})
      QCOMPARE(image.pixel(outside), blank);
  }

  void TiledFrameFitsTheDialogs() {
    QCOMPARE(TiledFrameSize(7, 3), QSize(314, 154));

    QImage sheet = Filled(kSheetWidth, kSheetHeight, Qt::white);
    const QRgb colours[4] = {qRgb(1, 0, 0), qRgb(2, 0, 0), qRgb(3, 0, 0), qRgb(4, 0, 0)};
    for (int which = 0; which < 4; ++which) {
      const QRect r = sheet::FrameTile(which);
      for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) sheet.setPixel(x, y, colours[which]);
      sheet.setPixel(r.topLeft(), qRgb(255, 255, 255));  // keyed
    }
    BoardPicture picture;
    picture.SetSheet(sheet);
    const QSize client = TiledFrameSize(2, 1);  // 94 x 66
    QImage image = Filled(client.width(), client.height(), QColor(0, 200, 0));
    {
      QPainter p(&image);
      DrawTiledFrame(p, client, 2, 1, picture);
    }
    QCOMPARE(image.pixel(3, 3), qRgb(0, 200, 0));  // keyed corner of the first top tile
    QCOMPARE(image.pixel(4, 3), colours[0]);
    QCOMPARE(image.pixel(48, 56), colours[1]);  // bottom tiles at height - 10
    QCOMPARE(image.pixel(3, 12), colours[2]);   // left tile at (3, 11)
    QCOMPARE(image.pixel(84, 12), colours[3]);  // right tile at width - 10
    QCOMPARE(image.pixel(91, 12), qRgb(0, 200, 0));
  }

  void PropertyItemShowsMarkerNameAndMortgage() {
    QImage sheet = Filled(kSheetWidth, kSheetHeight, QColor(255, 255, 235));
    const QRect marker = sheet::GroupMarker(3);
    for (int y = marker.top(); y <= marker.bottom(); ++y)
      for (int x = marker.left(); x <= marker.right(); ++x) sheet.setPixel(x, y, qRgb(0, 0, 90));
    BoardPicture picture;
    picture.SetSheet(sheet);
    PropertyTable table{};
    table[7].name.setUtf8("Torget");
    table[7].group = 3;
    QFont font("DejaVu Sans");
    font.setPixelSize(14);

    const auto render = [&](int property, bool focused, bool mortgaged) {
      table[7].mortgaged = mortgaged ? 1 : 0;
      QImage image = Filled(160, 20, QColor(9, 9, 9));
      QPainter p(&image);
      DrawPropertyItem(p, QRect(0, 0, 160, 18), property, table, focused, picture, font);
      return image;
    };
    const auto count = [](const QImage& image, QRgb colour) {
      int n = 0;
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
      return n;
    };

    const QImage plain = render(7, false, false);
    QCOMPARE(plain.pixel(2, 1), qRgb(0, 0, 90));  // the marker at (left + 2, top + 1)
    QCOMPARE(plain.pixel(5, 19), qRgb(9, 9, 9));  // outside the item
    QVERIFY(count(plain, qRgb(0, 0, 0)) > 10);
    QCOMPARE(count(plain, qRgb(255, 0, 0)), 0);

    QVERIFY(count(render(7, false, true), qRgb(255, 0, 0)) > 10);
    const QImage focusedMortgaged = render(7, true, true);
    QCOMPARE(focusedMortgaged.pixel(100, 9), qRgb(128, 0, 128));
    QVERIFY(count(focusedMortgaged, qRgb(255, 255, 0)) > 10);

    const QImage empty = render(-1, false, false);
    QCOMPARE(empty.pixel(2, 1), qRgb(255, 255, 235));
    QCOMPARE(count(empty, qRgb(0, 0, 0)), 0);
  }

  void TheShippedSheetLoads() {
    const QString path = QFINDTESTDATA("../../assets/tomtura.bmp");
    if (path.isEmpty()) QSKIP("assets/tomtura.bmp not generated yet");
    BoardPicture picture;
    QVERIFY(picture.Load(path));
    QVERIFY(picture.hasStandardSize());
    // The ten tokens show something, keyed around, and all differ.
    for (int a = 0; a < 10; ++a) {
      const QImage ta = picture.Token(a).toImage();
      int shown = 0;
      for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) shown += qAlpha(ta.pixel(x, y)) == 255;
      QVERIFY2(shown > 300 && shown < 1600 - 300, qPrintable(QString("token %1").arg(a)));
      for (int b = a + 1; b < 10; ++b) QVERIFY(ta != picture.Token(b).toImage());
    }
  }
};

QTEST_MAIN(BoardPictureTest)
#include "board_picture_test.moc"
