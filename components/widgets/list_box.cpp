// The LISTBOX component: a list of lines, set and read as one text, with at
// most one line selected. The lines live in a string model, so that a list
// of a million lines is put in by one call and drawn only where it shows.
#include <QFrame>
#include <QItemSelectionModel>
#include <QListView>
#include <QPointer>
#include <QStringListModel>

#include "components/widgets/common_members.h"
#include "components/widgets/component_events.h"
#include "components/widgets/component_table.h"
#include "components/widgets/item_lines.h"

namespace vell {

namespace {

class ProgramListBox : public QListView {
 public:
  ProgramListBox(mwin& table, QWidget* parent) : QListView(parent), table_(table) {
    setModel(&model_);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    resize(121, 97);
    SetBorderStyle(1);
  }

  void SetLines(const QStringList& lines) {
    const Quiet quiet(*this);
    model_.setStringList(lines);
    selectionModel()->clear();
  }
  QString Lines() const { return TextOfLines(model_.stringList()); }
  int Count() const { return model_.rowCount(); }

  // An index outside the list selects nothing.
  void Select(int index) {
    const Quiet quiet(*this);
    if (index < 0 || index >= model_.rowCount()) {
      selectionModel()->clear();
      return;
    }
    selectionModel()->setCurrentIndex(model_.index(index), QItemSelectionModel::ClearAndSelect);
    scrollTo(model_.index(index));
  }
  int Selected() const {
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
  }

  // 0: no border, 1: a single line; other values change nothing.
  void SetBorderStyle(int style) {
    if (style != 0 && style != 1) return;
    borderStyle_ = style;
    setFrameShape(style == 0 ? QFrame::NoFrame : QFrame::StyledPanel);
  }
  int BorderStyle() const { return borderStyle_; }

  // The click SUB runs when the user changes the selection, not when the
  // program does.
  void HookClick() {
    if (hooked_) return;
    hooked_ = true;
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
      if (programChange_ == 0) RunComponentEvent(table_, this, ComponentEvent::Click);
    });
  }

 private:
  struct Quiet {
    explicit Quiet(ProgramListBox& box) : box_(box) { ++box_.programChange_; }
    ~Quiet() { --box_.programChange_; }
    ProgramListBox& box_;
  };

  mwin& table_;
  QStringListModel model_;
  int borderStyle_ = 1;
  int programChange_ = 0;
  bool hooked_ = false;
};

QObject* CreateListBox(mwin& table, QWidget* defaultParent) {
  auto* control = new ProgramListBox(table, defaultParent);
  ShowNewControl(control);
  return control;
}

ProgramListBox* ListOf(MemberCall& call) { return static_cast<ProgramListBox*>(call.object); }

int SetItems(MemberCall& call) {
  ListOf(call)->SetLines(LinesOfText(call.TextArg()));
  return 1;
}

bool GetItems(MemberCall& call) {
  call.result = MemberCall::Text(ListOf(call)->Lines());
  return true;
}

int SetItemIndex(MemberCall& call) {
  ListOf(call)->Select(call.IntArg());
  return 1;
}

bool GetItemIndex(MemberCall& call) {
  call.result = vellvar(ListOf(call)->Selected());
  return true;
}

int SetBorderStyle(MemberCall& call) {
  ListOf(call)->SetBorderStyle(call.IntArg());
  return 1;
}

bool GetBorderStyle(MemberCall& call) {
  call.result = vellvar(ListOf(call)->BorderStyle());
  return true;
}

int SetOnClick(MemberCall& call) {
  call.Component().onClick = vellvar(WideString(call.args[0]));
  ListOf(call)->HookClick();
  return 1;
}

constexpr MemberBinding kListBoxMembers[] = {
    {MemberItems, SetItems, GetItems},
    {MemberItemIndex, SetItemIndex, GetItemIndex},
    {MemberBorderStyle, SetBorderStyle, GetBorderStyle},
    {MemberOnClick, SetOnClick, nullptr},
};

}  // namespace

const ComponentType& ListBoxType() {
  static const ComponentType type{
      TypeListBox, CreateListBox, DeleteRule::Control, nullptr, {kListBoxMembers, CommonMembers()}};
  return type;
}

}  // namespace vell
