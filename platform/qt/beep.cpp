#include "platform/qt/beep.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QByteArray>
#include <QMediaDevices>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace vell::qt {
namespace {

constexpr int kSampleRate = 44100;
constexpr int kLongestToneMs = 10000;

QByteArray Sine(int frequencyHz, int durationMs) {
  const int count = kSampleRate / 1000 * durationMs;
  QByteArray bytes(count * static_cast<int>(sizeof(int16_t)), Qt::Uninitialized);
  auto* samples = reinterpret_cast<int16_t*>(bytes.data());
  const double step = 2.0 * std::numbers::pi * frequencyHz / kSampleRate;
  // A few milliseconds of fade at both ends keep the tone free of clicks.
  const int fade = std::min(count / 2, kSampleRate / 1000 * 3);
  for (int i = 0; i < count; ++i) {
    double gain = 0.4;
    if (i < fade) gain *= static_cast<double>(i) / fade;
    if (count - 1 - i < fade) gain *= static_cast<double>(count - 1 - i) / fade;
    samples[i] = static_cast<int16_t>(std::lround(gain * 32767.0 * std::sin(step * i)));
  }
  return bytes;
}

}  // namespace

void BeepOutput::Beep(int frequencyHz, int durationMs) {
  if (frequencyHz <= 0 || durationMs <= 0) return;
  durationMs = std::min(durationMs, kLongestToneMs);
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  QAudioFormat format;
  format.setSampleRate(kSampleRate);
  format.setChannelCount(1);
  format.setSampleFormat(QAudioFormat::Int16);
  if (device.isNull() || !device.isFormatSupported(format)) {
    QApplication::beep();
    return;
  }
  const QByteArray tone = Sine(frequencyHz, durationMs);
  auto* sink = new QAudioSink(device, format, qApp);
  sink->setBufferSize(static_cast<qsizetype>(tone.size()) * 2);
  // Push mode: the whole tone goes to the sound system now and plays on its
  // own thread, also while the program sleeps or computes.
  QIODevice* io = sink->start();
  if (io == nullptr || sink->error() != QAudio::NoError || io->write(tone) <= 0) {
    delete sink;
    QApplication::beep();
    return;
  }
  QTimer::singleShot(durationMs + 250, sink, [sink] {
    sink->stop();
    sink->deleteLater();
  });
}

}  // namespace vell::qt
