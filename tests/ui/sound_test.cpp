// Sounds and music through SDL's silent audio driver, which plays in real time: which file an
// effect plays, that only the tax sound holds the game, that missing and broken files are
// silent, and how the music walks its shuffled order from one piece's end to the next.
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <numbers>

#include "data/ini_file.h"
#include "data/text_catalogue.h"
#include "sound/sound.h"
#include "test_suites.h"
#include "window_fixture.h"

using namespace tomtura;

namespace {

constexpr std::uint64_t kMusicSeed = 5;
constexpr int kLongMs = 4000;  // an effect far longer than a call that does not wait for it

// `v` as `n` bytes, the least significant first unless `bigEndian`.
QByteArray Bytes(quint32 v, int n, bool bigEndian = false) {
  QByteArray b(n, 0);
  for (int i = 0; i < n; ++i)
    b[bigEndian ? n - 1 - i : i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return b;
}

// A 22,050 Hz mono 16-bit tone of `ms` milliseconds, the format of the game's own files.
void WriteTone(const QString& path, int ms) {
  constexpr int kRate = 22050;
  QByteArray data;
  for (int i = 0; i < kRate * ms / 1000; ++i) {
    data +=
        Bytes(quint16(std::int16_t(8000 * std::sin(2 * std::numbers::pi * 440 * i / kRate))), 2);
  }
  QVERIFY(WriteFile(path, "RIFF" + Bytes(36 + data.size(), 4) + "WAVEfmt " + Bytes(16, 4) +
                              Bytes(1, 2) + Bytes(1, 2) + Bytes(kRate, 4) + Bytes(kRate * 2, 4) +
                              Bytes(2, 2) + Bytes(16, 2) + "data" + Bytes(data.size(), 4) + data));
}

// A Standard MIDI File with one note of about `ms` milliseconds at 120 beats a minute.
void WriteMidi(const QString& path, int ms) {
  const int ticks = ms * 480 / 500;  // 480 ticks a beat, half a second a beat
  QByteArray length;                 // the note's length as a variable-length quantity
  for (int rest = ticks;; rest >>= 7) {
    length.prepend(static_cast<char>((rest & 0x7F) | (length.isEmpty() ? 0 : 0x80)));
    if (rest < 0x80) break;
  }
  const QByteArray events =
      QByteArray::fromHex("00903C40") + length + QByteArray::fromHex("803C0000FF2F00");
  QVERIFY(WriteFile(path, QByteArray::fromHex("4D546864000000060000000101E0") + "MTrk" +
                              Bytes(events.size(), 4, true) + events));
}

}  // namespace

class SoundTest : public QObject {
  Q_OBJECT

 private slots:
  void effectsStartAtOnceAndOnlyTheTaxSoundWaits();
  void musicWalksTheOrderUntilAPieceFailsOrItStops();
  void theBackgroundSetUpStartsTheFirstPieceAndAHeldEffect();
  void theShippedFilesDecode();
};

// Whether a call waited is told by the sound's length, not by a limit on the machine's speed
// (how soon a sound is heard is bench/sound_bench.cpp's): effects other than the tax sound are
// much longer than any call that does not wait for them.
void SoundTest::effectsStartAtOnceAndOnlyTheTaxSoundWaits() {
  QTemporaryDir dir;
  WriteTone(dir.filePath("tomtura1.wav"), kLongMs);
  WriteTone(dir.filePath("tomtura2.wav"), kLongMs);
  WriteTone(dir.filePath("tomtura8.wav"), 300);
  WriteTone(dir.filePath("kassa.wav"), 100);
  WriteTone(dir.filePath("tomtura5.wav"), 100);  // named otherwise by the board file
  QVERIFY(WriteFile(dir.filePath("tomtura4.wav"), "this is no sound at all"));
  const TextCatalogue texts(IniFile::Parse("[SOUND]\n5=kassa.wav\n"));
  SoundEffects sound(texts, dir.path(), kMusicSeed);
  QVERIFY(sound.deviceOpen());

  QVERIFY(MsTaken([&] { sound.PlaySoundEffect(1, true); }) < kLongMs / 2);
  QVERIFY(sound.lastEffectFile().endsWith("/tomtura1.wav"));
  // The step cuts the dice off; nothing waits for either.
  QVERIFY(MsTaken([&] { sound.PlaySoundEffect(2, true); }) < kLongMs / 2);
  const qint64 tax = MsTaken([&] { sound.PlaySoundEffect(8, true); });
  QVERIFY2(tax >= 250, qPrintable(QString::number(tax)));
  sound.PlaySoundEffect(5, true);
  QVERIFY(sound.lastEffectFile().endsWith("/kassa.wav"));
  QCOMPARE(sound.effectsStarted(), 4);

  // Sound off, a missing file, a broken one: silence.
  sound.PlaySoundEffect(8, false);
  sound.PlaySoundEffect(3, true);
  sound.PlaySoundEffect(4, true);
  sound.PlaySoundEffect(10, true);
  QCOMPARE(sound.effectsStarted(), 4);
  QVERIFY(sound.lastEffectFile().endsWith("/kassa.wav"));

  // Silence closes the device; the next sound opens it again and starts as before.
  QTRY_VERIFY_WITH_TIMEOUT(!sound.deviceActive(), SoundEffects::kIdleCloseMs + kGiveUpMs);
  QVERIFY(MsTaken([&] { sound.PlaySoundEffect(1, true); }) < kLongMs / 2);
  QVERIFY(sound.deviceActive());
  QCOMPARE(sound.effectsStarted(), 5);
  // What still plays keeps it open.
  sound.CloseIfIdle();
  QVERIFY(sound.deviceActive());
}

// Each piece that ends by itself is followed by the next of the shuffled order (the order is
// tests/rules/music_order_test.cpp's), from position 1 on, until one fails.
void SoundTest::musicWalksTheOrderUntilAPieceFailsOrItStops() {
  QTemporaryDir dir;
  const TextCatalogue texts(IniFile::Parse(""));
  SoundEffects sound(texts, dir.path(), kMusicSeed);
  MusicOrder expected{Random(kMusicSeed)};
  expected.Next();
  // The pieces of positions 1 to 4: two short ones, one that is no MIDI file, a long one.
  std::vector<int> pieces;
  for (std::size_t i = 1; i <= 4; ++i) pieces.push_back(expected.order()[i] - 1);
  WriteMidi(dir.filePath(QString::fromStdString(MusicFileName(pieces[0]))), 40);
  WriteMidi(dir.filePath(QString::fromStdString(MusicFileName(pieces[1]))), 40);
  WriteTone(dir.filePath(QString::fromStdString(MusicFileName(pieces[2]))), 40);
  WriteMidi(dir.filePath(QString::fromStdString(MusicFileName(pieces[3]))), 3000);

  // Two pieces, then the broken one: nothing follows it. Music keeps the device open.
  QVERIFY(sound.PlayNextMusic());
  sound.CloseIfIdle();
  QVERIFY(sound.deviceActive());
  QTRY_COMPARE_WITH_TIMEOUT(sound.piecesStarted().size(), std::size_t(2), kGiveUpMs);
  QTRY_VERIFY_WITH_TIMEOUT(!sound.musicPlaying(), kGiveUpMs);
  QTest::qWait(300);
  QCOMPARE(sound.piecesStarted(), std::vector<int>({pieces[0], pieces[1]}));
  QVERIFY(!sound.musicPlaying());

  // Music on again goes on with the next position; off closes it and no piece follows.
  QVERIFY(sound.PlayNextMusic());
  QVERIFY(sound.musicPlaying());
  sound.StopMusic();
  QVERIFY(!sound.musicPlaying());
  QTest::qWait(200);
  QCOMPARE(sound.piecesStarted(), std::vector<int>({pieces[0], pieces[1], pieces[3]}));
  QCOMPARE(sound.musicOrder().position(), 4);
}

// The window sets the sound up after its first frame. The piece the order plays first is loaded
// there and starts once ready, unless music was stopped meanwhile; an effect the game asked for
// before plays then, unless it has grown too old to fit its event.
void SoundTest::theBackgroundSetUpStartsTheFirstPieceAndAHeldEffect() {
  QTemporaryDir dir;
  for (int piece = 0; piece < 10; ++piece) {
    WriteMidi(dir.filePath(QString::fromStdString(MusicFileName(piece))), 3000);
  }
  WriteTone(dir.filePath("tomtura1.wav"), 100);
  const TextCatalogue texts(IniFile::Parse(""));
  MusicOrder expected{Random(kMusicSeed)};
  const int first = expected.Next();

  SoundEffects sound(texts, dir.path(), kMusicSeed);
  sound.HoldUntilOpened();
  QElapsedTimer held;
  held.start();
  sound.PlaySoundEffect(1, true);
  QVERIFY(!sound.ready());
  sound.OpenInBackground(true);
  QVERIFY(sound.settingUp());
  QTRY_VERIFY_WITH_TIMEOUT(sound.ready(), kGiveUpMs);
  // A set-up slower than kHeldEffectMs (a loaded machine) rightly drops the effect.
  const qint64 setUpMs = held.elapsed();
  QVERIFY2(sound.effectsStarted() == 1 || setUpMs > SoundEffects::kHeldEffectMs,
           qPrintable(QString("set up in %1 ms").arg(setUpMs)));
  QTRY_VERIFY_WITH_TIMEOUT(!sound.settingUp(), kGiveUpMs);
  QCOMPARE(sound.piecesStarted(), std::vector<int>({first}));
  QVERIFY(sound.musicPlaying());
  sound.StopMusic();

  SoundEffects late(texts, dir.path(), kMusicSeed);
  late.HoldUntilOpened();
  late.PlaySoundEffect(1, true);
  QTest::qWait(SoundEffects::kHeldEffectMs + 100);
  late.OpenInBackground(true);
  late.StopMusic();
  QTRY_VERIFY_WITH_TIMEOUT(!late.settingUp(), kGiveUpMs);
  QCOMPARE(late.effectsStarted(), 0);
  QVERIFY(late.piecesStarted().empty());
  // Music on again plays the first position all the same.
  QVERIFY(late.PlayNextMusic());
  QCOMPARE(late.piecesStarted(), std::vector<int>({first}));
}

// The edition's own files: every effect decodes (their lengths are the sound maker's tests'),
// and the music plays through the installed sound font. Memory keeps the files and one effect
// decoded at the device's rate (up to four times its 22,050 Hz mono file), not every effect
// decoded. An open device leaves SIGTERM and SIGINT to their default: they end the program (Qt
// Test handles both itself, so the default is put back around the device while it opens).
void SoundTest::theShippedFilesDecode() {
  const int handled[] = {SIGTERM, SIGINT};
  struct sigaction saved[2]{};
  struct sigaction defaults {};
  defaults.sa_handler = SIG_DFL;
  for (int i = 0; i < 2; ++i) sigaction(handled[i], &defaults, &saved[i]);
  const TextCatalogue texts = TextCatalogue::Load(TOMTURA_ASSETS_DIR "/tomtura.lst");
  SoundEffects sound(texts, TOMTURA_ASSETS_DIR, kMusicSeed);
  QVERIFY(sound.deviceOpen());
  std::array<bool, 2> stillDefault{};
  for (int i = 0; i < 2; ++i) {
    struct sigaction now {};
    sigaction(handled[i], nullptr, &now);
    stillDefault[i] = now.sa_handler == SIG_DFL;
    sigaction(handled[i], &saved[i], nullptr);
  }
  QCOMPARE(stillDefault, (std::array<bool, 2>{true, true}));  // SIGTERM, SIGINT
  qint64 files = 0;
  qint64 largest = 0;
  for (int n = 0; n < SoundEffects::kEffectCount; ++n) {
    const QString file = QString::fromStdString(texts.GetSoundName(n));
    const qint64 size = QFileInfo(QDir(TOMTURA_ASSETS_DIR).filePath(file)).size();
    files += size;
    largest = std::max(largest, size);
    const int before = sound.effectsStarted();
    sound.PlaySoundEffect(n, true);
    QVERIFY2(sound.effectsStarted() == before + 1, qPrintable(QString("sound %1").arg(n)));
  }
  qInfo("effects in memory: %zu bytes, their files %lld", sound.effectBytes(), files);
  QVERIFY(qint64(sound.effectBytes()) <= files + 4 * largest);
  QVERIFY(sound.PlayNextMusic());
  QVERIFY(sound.musicPlaying());
}

TOMTURA_TEST_SUITE(SoundTest);
#include "sound_test.moc"
