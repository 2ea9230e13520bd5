#include "host/window_layout.h"

#include <QAction>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QSplitter>
#include <algorithm>

#include "platform/qt/memo_edit.h"

namespace {

constexpr int kMemoMarginX = 10;
constexpr int kMemoMarginY = 5;

void RelayOut(QMainWindow& window) {
  if (QLayout* l = window.layout()) l->activate();
}

}  // namespace

void WindowLayout::LayoutMemos(LayoutMode mode) {
  if (mode == LayoutShowProgram && memoProg_.isHidden()) {
    ShowProgramArea();
  } else if (mode == LayoutHideProgram && !memoProg_.isHidden()) {
    HideProgramArea();
  }
  if (!memoProg_.isHidden()) {
    memoProg_.SetFormatMargins(kMemoMarginX, kMemoMarginY);
    memoProg_.setTabStopDistance(QFontMetrics(memoProg_.font()).averageCharWidth() * 4);
  }
  if (!memoOut_.isHidden()) {
    memoOut_.SetFormatMargins(kMemoMarginX, kMemoMarginY);
    memoOut_.setTabStopDistance(QFontMetrics(memoOut_.font()).averageCharWidth() * 8);
  }
}

void WindowLayout::HideProgramArea() {
  progHeight_ = memoProg_.height();
  panelBeforeHide_ = panelOut_.height();
  memoProg_.setVisible(false);
  menuProgDisp_.setChecked(false);
  menuProgDisp_.setEnabled(true);
  // The splitter's minimum still counts the hidden area until it is asked
  // again; the window could not shrink below it otherwise.
  splitter_.updateGeometry();
  RelayOut(window_);
  window_.resize(window_.width(), std::max(0, window_.height() - progHeight_));
  RelayOut(window_);
  // The output area fills the splitter now (it may not have been placed yet).
  panelWhileHidden_ = splitter_.height();
}

void WindowLayout::ShowProgramArea() {
  // The output area gives back what the hide gave it (the splitter bar, and
  // whatever the window could not shrink by) unless it was sized since.
  const int panelHeight = splitter_.height();  // all of it the output area's
  const int panelShown = panelHeight == panelWhileHidden_ ? panelBeforeHide_ : panelHeight;
  const int area = progHeight_ > 0 ? progHeight_ : memoProg_.height();
  const int growth = panelShown + splitter_.handleWidth() + area - panelHeight;
  memoProg_.setVisible(true);
  splitter_.refresh();  // the bar above the area shows at once
  window_.resize(window_.width(), window_.height() + growth);
  RelayOut(window_);
  splitter_.setSizes({panelShown, area});
  menuProgDisp_.setChecked(true);
  menuProgDisp_.setEnabled(true);
}

void WindowLayout::SetOutputAreaSize(int w, int h) {
  QWidget* central = window_.centralWidget();
  const int extraWidth = window_.width() - central->width();
  const int extraHeight = window_.height() - central->height();
  const bool progShown = !memoProg_.isHidden();
  const int progHeight = memoProg_.height();
  const int progPart = progShown ? progHeight + splitter_.handleWidth() : 0;
  // Sizes from programs stay within the desktop.
  QScreen* s = window_.screen() ? window_.screen() : QGuiApplication::primaryScreen();
  if (s != nullptr) {
    const QRect available = s->availableGeometry();
    const int frameWidth = std::max(0, window_.frameGeometry().width() - window_.width());
    const int frameHeight = std::max(0, window_.frameGeometry().height() - window_.height());
    w = std::min(w, std::max(0, available.width() - frameWidth - extraWidth));
    h = std::min(h, std::max(0, available.height() - frameHeight - extraHeight - progPart));
  }
  w = std::max(0, w);
  h = std::max(0, h);
  window_.resize(w + extraWidth, h + extraHeight + progPart);
  RelayOut(window_);
  splitter_.setSizes({h, progShown ? progHeight : 0});
  LayoutMemos(LayoutRefresh);
}
