// The main window's geometry: the output area above the program area, the
// program area shown or hidden, and the output area's size as programs set it.
#pragma once

class QAction;
class QMainWindow;
class MemoEdit;
class QSplitter;
class QWidget;

// How LayoutMemos changes the program area.
enum LayoutMode : int {
  LayoutRefresh = 0,      // re-apply the memos' margins and tab stops
  LayoutShowProgram = 1,  // show the program area; the window grows by its height
  LayoutHideProgram = 2,  // hide it; the window shrinks by its height
};

class WindowLayout {
 public:
  WindowLayout(QMainWindow& window, QSplitter& splitter, QWidget& panelOut,
               MemoEdit& memoOut, MemoEdit& memoProg, QAction& menuProgDisp)
      : window_(window),
        splitter_(splitter),
        panelOut_(panelOut),
        memoOut_(memoOut),
        memoProg_(memoProg),
        menuProgDisp_(menuProgDisp) {}

  void LayoutMemos(LayoutMode mode);
  // The program area's height, remembered for showing it again.
  void SetProgramHeight(int height) { progHeight_ = height; }
  // Resizes the window so that the output area gets this size, within the
  // desktop; the program area keeps its height.
  void SetOutputAreaSize(int width, int height);

 private:
  void HideProgramArea();
  void ShowProgramArea();

  QMainWindow& window_;
  QSplitter& splitter_;
  QWidget& panelOut_;
  MemoEdit& memoOut_;
  MemoEdit& memoProg_;
  QAction& menuProgDisp_;
  int progHeight_ = 0;
  // The output area's height before the last hide, and right after it.
  int panelBeforeHide_ = -1;
  int panelWhileHidden_ = -1;
};
