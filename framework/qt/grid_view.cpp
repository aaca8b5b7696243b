// The grid's view: a table over the grid model itself.
#include "framework/qt/view_kinds.h"

#include <QAbstractTableModel>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMetaProperty>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>
#include <vector>

#include "framework/input.h"
#include "framework/qt/convert.h"

namespace fw::qt {

namespace {

class GridView;

// The table's model is the grid model itself: the table asks for the cells
// it paints, so a write costs only the cells it changed. Row 0 of the grid
// is the table's header row; grid row r + 1 is table row r.
//
// Writes are told to the table in batches: rows appended at the end and
// the rectangle of changed cells add up until something looks: the next
// event that Qt delivers (a paint, input, a timer), the next wait of the
// loop, a query of this model, or a removal of rows. So a handler that
// appends 2,000 rows one at a time costs one insertion, while nobody ever
// sees the table behind its grid. The row count the table knows changes
// only between the begin and end signals of an insertion or a removal, as
// Qt's views require.
class GridModel final : public QAbstractTableModel {
 public:
  GridModel(Grid& grid, QObject* parent) : QAbstractTableModel(parent), grid_(&grid) {}
  ~GridModel() override { Forget(this); }
  GridModel(const GridModel&) = delete;
  GridModel& operator=(const GridModel&) = delete;

  int rowCount(const QModelIndex& parent) const override {
    Current();
    return parent.isValid() ? 0 : rows_;
  }
  int columnCount(const QModelIndex& parent) const override {
    Current();
    return parent.isValid() ? 0 : cols_;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    Current();
    if (!index.isValid() || index.row() >= rows_) return {};
    return Cell(index.row() + 1, index.column(), role);
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    Current();
    if (orientation != Qt::Horizontal) return {};
    return Cell(0, section, role);
  }
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    Current();
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (live_ && !grid_->CellReadOnly(index.row() + 1, index.column())) f |= Qt::ItemIsEditable;
    return f;
  }

  // The grid as it is now, from scratch.
  void Reset() {
    Drop();
    beginResetModel();
    rows_ = live_ ? std::max(0, grid_->RowCount() - 1) : 0;
    cols_ = live_ ? std::max(0, grid_->ColCount()) : 0;
    endResetModel();
  }
  // One write of the grid.
  void Apply(const GridChange& c) {
    switch (c.kind) {
      case GridChange::Kind::RowsAppended:
        appended_ += c.lastRow - c.firstRow + 1;
        Hold(this);
        break;
      case GridChange::Kind::Cells:
        if (!dirty_) {
          dirty_ = c;
        } else {
          dirty_->firstRow = std::min(dirty_->firstRow, c.firstRow);
          dirty_->lastRow = std::max(dirty_->lastRow, c.lastRow);
          dirty_->firstCol = std::min(dirty_->firstCol, c.firstCol);
          dirty_->lastCol = std::max(dirty_->lastCol, c.lastCol);
        }
        Hold(this);
        break;
      case GridChange::Kind::RowsRemoved:
        // The rows are numbered as the grid numbered them before the
        // removal, which is what the table knows once it has the rest.
        Show();
        beginRemoveRows({}, c.firstRow - 1, c.lastRow - 1);
        rows_ -= c.lastRow - c.firstRow + 1;
        endRemoveRows();
        break;
    }
  }
  // The window was destroyed: the table shows nothing more of the grid.
  void Kill() {
    live_ = false;
    Reset();
  }

  // Tells the tables what their grids hold now.
  static void ShowAll() {
    while (!Held().empty()) {
      GridModel* m = Held().back();
      Held().pop_back();
      m->Show();
    }
  }

 private:
  // The models with writes that their tables do not know yet.
  static std::vector<GridModel*>& Held() {
    static std::vector<GridModel*> held;
    return held;
  }
  static void Hold(GridModel* m) {
    if (m->held_) return;
    m->held_ = true;
    // Outside handlers the loop is woken, so that the writes reach the
    // table at its next turn even when nothing else happens; a handler's
    // writes reach it when the handler returns.
    const ViewHost* backend = ViewHost::Current();
    if (Held().empty() && (backend == nullptr || !backend->Holding())) {
      QCoreApplication::postEvent(Nudge(), new QEvent(QEvent::User));
    }
    Held().push_back(m);
  }
  // The receiver of that wake: delivering any event shows the writes.
  static QObject* Nudge() {
    static QObject* nudge = new QObject;
    return nudge;
  }
  static void Forget(GridModel* m) {
    if (!m->held_) return;
    std::erase(Held(), m);
    m->held_ = false;
  }

  void Current() const {
    if (held_) const_cast<GridModel*>(this)->Show();
  }
  void Drop() {
    Forget(this);
    appended_ = 0;
    dirty_.reset();
  }
  void Show() {
    Forget(this);
    if (appended_ > 0) {
      const int n = std::exchange(appended_, 0);
      beginInsertRows({}, rows_, rows_ + n - 1);
      rows_ += n;
      endInsertRows();
    }
    if (const std::optional<GridChange> d = std::exchange(dirty_, std::nullopt)) {
      if (d->firstRow == 0) emit headerDataChanged(Qt::Horizontal, d->firstCol, d->lastCol);
      const int first = std::max(d->firstRow, 1);
      const int last = std::min(d->lastRow, rows_);
      if (first <= last && d->firstCol < cols_) {
        emit dataChanged(index(first - 1, d->firstCol),
                         index(last - 1, std::min(d->lastCol, cols_ - 1)));
      }
    }
  }

  QVariant Cell(int row, int col, int role) const {
    if (!live_) return {};
    switch (role) {
      case Qt::DisplayRole:
      case Qt::EditRole:
        return FromGbk(grid_->CellText(row, col));
      case Qt::BackgroundRole:
        return Brush(grid_->CellBackColour(row, col));
      case Qt::ForegroundRole:
        return Brush(grid_->CellTextColour(row, col));
      default:
        return {};
    }
  }
  static QVariant Brush(Colour c) {
    const QColor q = ToQColor(c);
    return q.isValid() ? QVariant(QBrush(q)) : QVariant();
  }

  Grid* grid_;
  bool live_ = true;
  int rows_ = 0;  // data rows the table knows
  int cols_ = 0;
  // Writes the table does not know yet.
  bool held_ = false;
  int appended_ = 0;
  std::optional<GridChange> dirty_;
};

// Commits of the cell editor go to the grid model through fw::input; the
// table shows the cell from the grid afterwards.
class CellDelegate final : public QStyledItemDelegate {
 public:
  CellDelegate(GridView* grid);
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override;

 private:
  GridView* grid_;
};

// The view raises CellEvent only for the user's clicks and committed edits
// (the delegate), never for a program write.
class GridView final : public QTableView, public UnitView {
 public:
  GridView(ViewHost& b, Control& u, QWidget* parent)
      : QTableView(parent), UnitView(b, u, this), model_(new GridModel(grid(), this)) {
    setModel(model_);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    setItemDelegate(new CellDelegate(this));
    connection_ = connect(this, &QTableView::clicked, this, [this](const QModelIndex& index) {
      if (Live() && index.isValid()) input::ClickCell(grid(), index.row() + 1, index.column());
    });
  }
  ~GridView() override { disconnect(connection_); }

  void UserEdited(int row, int col, const QString& text) {
    if (!Live()) return;
    if (text != FromGbk(grid().CellText(row, col))) input::EditCell(grid(), row, col, ToGbk(text));
  }

 protected:
  void RefreshFont() override {
    UnitView::RefreshFont();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  }
  void RefreshColours() override { ApplyColours(QPalette::Text, QPalette::Base, false); }
  void RefreshKind(Prop what) override {
    if (what == Prop::Cells) model_->Reset();
  }
  void ShowGridChange(const GridChange& change) override { model_->Apply(change); }
  void Killed() override { model_->Kill(); }

 private:
  Grid& grid() const { return static_cast<Grid&>(unit()); }

  GridModel* model_;
  QMetaObject::Connection connection_;
};

CellDelegate::CellDelegate(GridView* grid) : QStyledItemDelegate(grid), grid_(grid) {}

// A cell editor is an edit box like the others: a dragged file's path
// offered as text never lands in it.
QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
  QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
  if (editor != nullptr) editor->setAcceptDrops(false);
  return editor;
}

void CellDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                const QModelIndex& index) const {
  QString text;
  if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    text = line->text();
  } else {
    const QByteArray name = editor->metaObject()->userProperty().name();
    text = editor->property(name.constData()).toString();
  }
  grid_->UserEdited(index.row() + 1, index.column(), text);
}

}  // namespace

void ShowHeldGridWrites() {
  GridModel::ShowAll();
}

UnitView* NewGridView(ViewHost& host, Control& unit, QWidget* parent) {
  return unit.kind() == Kind::Grid ? new GridView(host, unit, parent) : nullptr;
}

}  // namespace fw::qt
