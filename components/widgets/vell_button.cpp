#include "components/widgets/vell_button.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <atomic>

#include "components/widgets/geometry_bounds.h"

namespace vell::widgets {

namespace {

constexpr int kMaxShownUnits = 255;
// Pixels of the face the caption never uses (bevel and spacing).
constexpr int kCaptionReserve = 7;
constexpr int kDefaultWidth = 75;
constexpr int kDefaultHeight = 25;

// Inner buttons are numbered once for the whole run, so no two ever share a
// name, whatever was freed meanwhile.
QString NextInnerName() {
  static std::atomic<unsigned long long> next{1};
  return QStringLiteral("VellSButton%1").arg(next.fetch_add(1));
}

}  // namespace

int VellGetTextExtent(const QFontMetrics& metrics, QStringView text, int width) {
  qsizetype units = std::min<qsizetype>(text.size(), kMaxShownUnits);
  for (qsizetype i = 0; i < units; ++i) {
    if (text[i] == QChar(0) || text[i] == QChar(u'\r')) {
      units = i;
      break;
    }
  }
  for (qsizetype i = 1; i <= units; ++i) {
    if (metrics.horizontalAdvance(text.left(i).toString()) > width) {
      return static_cast<int>(i - 1);
    }
  }
  return static_cast<int>(units);
}

// ---------------------------------------------------------------------------

VellInnerButton::VellInnerButton(QWidget* parent) : QPushButton(parent) {
  setFocusPolicy(Qt::NoFocus);
}

void VellInnerButton::SetMargin(int margin) {
  margin_ = margin;
  update();
}

void VellInnerButton::SetRightLayout(bool right) {
  rightLayout_ = right;
  update();
}

void VellInnerButton::paintEvent(QPaintEvent* event) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  // The style paints the bevel through a picture of the rectangle it is given.
  option.rect = PaintedPiece(rect(), event->rect());
  painter.drawControl(QStyle::CE_PushButtonBevel, option);
  QRect area = rect();
  int flags = Qt::AlignVCenter | Qt::TextSingleLine;
  if (margin_ < 0) {
    flags |= Qt::AlignHCenter;
  } else if (rightLayout_) {
    area.setRight(area.right() - margin_);
    flags |= Qt::AlignRight;
  } else {
    area.setLeft(area.left() + margin_);
    flags |= Qt::AlignLeft;
  }
  if (isDown()) area.translate(1, 1);
  painter.drawItemText(area, flags, palette(), isEnabled(), text(), QPalette::ButtonText);
}

// ---------------------------------------------------------------------------

TVellButton::TVellButton(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(1);
  setAutoFillBackground(true);
  resize(kDefaultWidth, kDefaultHeight);
  inner_ = new VellInnerButton(this);
  inner_->setObjectName(NextInnerName());
  inner_->setGeometry(rect());
  inner_->setFlat(false);
  inner_->setText(QStringLiteral("Button"));
  inner_->installEventFilter(this);
  connect(inner_, &QPushButton::clicked, this, [this] { emit clicked(); });
}

void TVellButton::SetAlignment(Alignment alignment) {
  alignment_ = alignment;
  if (alignment == LeftJustify || alignment == RightJustify) {
    if (margin_ == -1) margin_ = 1;
    inner_->SetRightLayout(alignment == RightJustify);
    inner_->SetMargin(BoundedMargin(margin_));
  } else {
    margin_ = -1;
    inner_->SetRightLayout(false);
    inner_->SetMargin(-1);
  }
}

void TVellButton::SetButtonStyle(int style) {
  buttonStyle_ = style;
  switch (style) {
    case 0: {
      setFrameStyle(QFrame::Panel | QFrame::Raised);
      QPalette colours = palette();
      colours.setColor(QPalette::Window, colours.color(QPalette::Button));
      setPalette(colours);
      inner_->setFlat(false);
      break;
    }
    case 1:
      setFrameStyle(QFrame::Panel | QFrame::Raised);
      inner_->setFlat(true);
      break;
    case 2:
      setFrameStyle(QFrame::NoFrame);
      inner_->setFlat(true);
      break;
    default:
      break;
  }
  update();
}

void TVellButton::SetCaption(const QString& caption) {
  caption_ = caption;
  CutCaption();
}

void TVellButton::SetHeight(int h) {
  resize(width(), BoundedSide(h));
  inner_->setGeometry(rect());
}

void TVellButton::SetWidth(int w) {
  resize(BoundedSide(w), height());
  inner_->setGeometry(rect());
  CutCaption();
}

void TVellButton::SetMargin(int margin) {
  margin_ = margin;  // read back as it was set
  inner_->SetMargin(BoundedMargin(margin));
  CutCaption();
}

QString TVellButton::ShownCaption() const { return inner_->text(); }

void TVellButton::CutCaption() {
  const int n =
      VellGetTextExtent(QFontMetrics(font()), caption_,
                        SaturatedInt(int64_t{inner_->width()} - margin_ - kCaptionReserve));
  inner_->setText(caption_.left(n));
}

void TVellButton::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  // The inner button keeps covering the panel, however the panel was sized;
  // a new width shows more or less of the caption.
  if (inner_->geometry() != rect()) {
    inner_->setGeometry(rect());
    if (event->size().width() != event->oldSize().width()) CutCaption();
  }
}

void TVellButton::changeEvent(QEvent* event) {
  QFrame::changeEvent(event);
  if (event->type() == QEvent::FontChange) CutCaption();
}

bool TVellButton::eventFilter(QObject* watched, QEvent* event) {
  if (watched == inner_) {
    switch (event->type()) {
      case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        emit mousePressed(mouse->button(), mouse->modifiers(), mouse->position().toPoint());
        break;
      }
      case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        emit mouseMoved(mouse->modifiers(), mouse->position().toPoint());
        break;
      }
      case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        emit mouseReleased(mouse->button(), mouse->modifiers(), mouse->position().toPoint());
        break;
      }
      case QEvent::MouseButtonDblClick:
        emit doubleClicked();
        break;
      default:
        break;
    }
  }
  return QFrame::eventFilter(watched, event);
}

}  // namespace vell::widgets
