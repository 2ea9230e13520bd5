// The MEDIAPLAYER component: a hidden control that plays the sound of the
// file FILENAME names (a video's sound only). PLAY opens the file afresh and
// plays it; STOP stops and closes it. A file that does not exist or cannot be
// read, and a MIDI file (nothing here synthesizes MIDI), are refused at once
// with a message. Without an audio device the file still opens and plays
// silently.
#include <QAudioDevice>
#include <QAudioOutput>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"
#include "components/widgets/member_failure.h"
#include "platform/paths.h"

namespace vell {

namespace {

// Qt's GStreamer media backend crashes on machines without its plugins; the
// FFmpeg backend needs nothing further. Chosen before Qt loads either, unless
// the user chose one.
const bool kBackendChosen = [] {
  if (!qEnvironmentVariableIsSet("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "ffmpeg");
  return true;
}();

// How long PLAY waits for the file to be read before it gives up on knowing
// whether it can be played (it plays on regardless).
constexpr int kOpenWaitMs = 3000;

class ProgramMediaPlayer : public QWidget {
 public:
  explicit ProgramMediaPlayer(QWidget* parent) : QWidget(parent) { hide(); }

  QString fileName;

  bool Open() const { return player_ != nullptr && !player_->source().isEmpty(); }

  void Close() {
    if (!Open()) return;
    player_->stop();
    player_->setSource(QUrl());
  }

  // Opens the file and plays it; an empty text when it plays, else why not.
  QString Play() {
    Close();
    const QString path = LocalPath();
    const QFileInfo info(path);
    if (fileName.isEmpty() || !info.exists() || info.isDir()) {
      return QStringLiteral("The media file cannot be found: %1").arg(fileName);
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
      return QStringLiteral("The media file cannot be read: %1").arg(fileName);
    }
    if (IsMidi(info, file)) {
      return QStringLiteral("MIDI files cannot be played here (no MIDI synthesizer): %1")
          .arg(fileName);
    }
    file.close();
    MakePlayer();
    error_.clear();
    player_->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    WaitForLoad();
    if (player_->mediaStatus() == QMediaPlayer::InvalidMedia || !error_.isEmpty()) {
      const QString why = error_.isEmpty() ? QStringLiteral("unknown format") : error_;
      player_->setSource(QUrl());
      return QStringLiteral("The media file cannot be played: %1 (%2)").arg(fileName, why);
    }
    player_->play();
    return QString();
  }

 private:
  QString LocalPath() const {
    const std::u16string name(reinterpret_cast<const char16_t*>(fileName.utf16()),
                              static_cast<size_t>(fileName.size()));
    const std::optional<std::string> resolved = paths::ResolveProgramPath(name);
    return resolved ? QFile::decodeName(QByteArray::fromStdString(*resolved)) : QString();
  }

  static bool IsMidi(const QFileInfo& info, QFile& file) {
    const QString suffix = info.suffix().toLower();
    if (suffix == u"mid" || suffix == u"midi" || suffix == u"rmi" || suffix == u"kar") return true;
    const QByteArray head = file.read(12);
    return head.startsWith("MThd") || (head.startsWith("RIFF") && head.mid(8, 4) == "RMID");
  }

  void MakePlayer() {
    if (player_ != nullptr) return;
    player_ = new QMediaPlayer(this);
    // Without an audio device no output is attached: the file plays silently
    // (an output without a device would bring the player down).
    if (!QMediaDevices::defaultAudioOutput().isNull()) {
      player_->setAudioOutput(new QAudioOutput(player_));
    }
    connect(player_, &QMediaPlayer::errorOccurred, this,
            [this](QMediaPlayer::Error, const QString& text) { error_ = text; });
  }

  // Lets the player read the file, for a bounded time.
  void WaitForLoad() {
    const QPointer<ProgramMediaPlayer> self(this);
    QDeadlineTimer deadline(kOpenWaitMs);
    while (self && player_->mediaStatus() == QMediaPlayer::LoadingMedia && error_.isEmpty() &&
           !deadline.hasExpired()) {
      QEventLoop loop;
      connect(player_, &QMediaPlayer::mediaStatusChanged, &loop, &QEventLoop::quit);
      connect(player_, &QMediaPlayer::errorOccurred, &loop, &QEventLoop::quit);
      QTimer::singleShot(20, &loop, &QEventLoop::quit);
      loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
  }

  QMediaPlayer* player_ = nullptr;
  QString error_;
};

QObject* CreateMediaPlayer(mwin& /*table*/, QWidget* defaultParent) {
  return new ProgramMediaPlayer(defaultParent);
}

void StopBeforeDelete(QObject* object) { static_cast<ProgramMediaPlayer*>(object)->Close(); }

ProgramMediaPlayer* PlayerOf(MemberCall& call) { return call.As<ProgramMediaPlayer>(); }

int SetFileName(MemberCall& call) {
  PlayerOf(call)->fileName = call.TextArg();
  return 1;
}

bool GetFileName(MemberCall& call) {
  call.result = MemberCall::Text(PlayerOf(call)->fileName);
  return true;
}

int Play(MemberCall& call) {
  const QPointer<ProgramMediaPlayer> player(PlayerOf(call));
  const QString failure = player->Play();
  if (!failure.isEmpty()) ReportMemberFailure(call, failure);
  return 1;
}

int Stop(MemberCall& call) {
  PlayerOf(call)->Close();
  return 1;
}

constexpr MemberBinding kMediaPlayerMembers[] = {
    {MemberFileName, SetFileName, GetFileName},
    {MemberPlay, Play, nullptr},
    {MemberStop, Stop, nullptr},
};

}  // namespace

const ComponentType& MediaPlayerType() {
  static const ComponentType type{TypeMediaPlayer,
                                  CreateMediaPlayer,
                                  DeleteRule::Plain,
                                  StopBeforeDelete,
                                  {kMediaPlayerMembers, CommonMembers()}};
  return type;
}

}  // namespace vell
