// The control BUTTON components are made of: a panel giving the bevel and the
// colour, covered by an inner button that shows the caption and takes the
// mouse. The caption is kept whole and shown cut to what fits the width.
#pragma once

#include <QFrame>
#include <QPoint>
#include <QPushButton>
#include <QString>
#include <QStringView>

class QFontMetrics;

namespace vell::widgets {

// How many leading characters of `text` fit into `width` pixels: at most 255,
// never past the first NUL or CR; 0 when not even the first one fits.
int VellGetTextExtent(const QFontMetrics& metrics, QStringView text, int width);

// The inner button: a push button that does not take the focus and draws its
// caption at a margin from its left or right edge, or centred.
class VellInnerButton : public QPushButton {
  Q_OBJECT

 public:
  explicit VellInnerButton(QWidget* parent);
  // Pixels between the edge and the caption; -1 centres it.
  int Margin() const { return margin_; }
  void SetMargin(int margin);
  // The caption stands at the right edge (else at the left) when not centred.
  bool RightLayout() const { return rightLayout_; }
  void SetRightLayout(bool right);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int margin_ = -1;
  bool rightLayout_ = false;
};

class TVellButton : public QFrame {
  Q_OBJECT

 public:
  enum Alignment { LeftJustify = 0, RightJustify = 1, Center = 2 };

  explicit TVellButton(QWidget* parent = nullptr);

  Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment alignment);
  // 0 raised, 1 raised with a flat face, 2 flat without a bevel; other
  // values are only kept.
  int GetButtonStyle() const { return buttonStyle_; }
  void SetButtonStyle(int style);
  // The whole caption as last set.
  QString GetCaption() const { return caption_; }
  void SetCaption(const QString& caption);
  int GetHeight() const { return height(); }
  void SetHeight(int h);
  int GetWidth() const { return width(); }
  void SetWidth(int w);
  int GetMargin() const { return margin_; }
  void SetMargin(int margin);
  int ID = 0;

  VellInnerButton* InnerButton() const { return inner_; }
  // What the face shows.
  QString ShownCaption() const;

 signals:
  // The inner button's clicks and mouse events, as the control's own
  // (coordinates are the control's: the inner button covers it).
  void clicked();
  void doubleClicked();
  void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
  void mouseMoved(Qt::KeyboardModifiers modifiers, QPoint pos);
  void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CutCaption();

  VellInnerButton* inner_;
  QString caption_;
  Alignment alignment_ = Center;
  int buttonStyle_ = 0;
  int margin_ = -1;
};

}  // namespace vell::widgets

using vell::widgets::TVellButton;
