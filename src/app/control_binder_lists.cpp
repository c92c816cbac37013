// The binder's multi-line controls: the hint memo, the log list, the result
// grid and the status bar.
#include <algorithm>
#include <vector>

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTableWidget>

#include "app/control_binder.h"
#include "app/qt_convert.h"

namespace halvane {
namespace {

// The log only grows while a step runs, so a refresh appends the new lines;
// anything else (a line that changed, a shorter log) rebuilds the list.
// The current row is scrolled into view only when the lines or the current
// row changed, so a refresh with nothing new leaves the user's scrolling alone.
void ShowLog(QListWidget* list, const ListBox& model) {
  const int shown = list->count();
  const int wanted = static_cast<int>(model.items.size());
  const bool prefixKept = shown <= wanted && (shown == 0 || list->item(shown - 1)->text() ==
                                                                ToQt(model.items[shown - 1]));
  const bool linesChanged = !prefixKept || shown != wanted;
  if (!prefixKept) list->clear();
  for (int i = list->count(); i < wanted; ++i) list->addItem(ToQt(model.items[i]));

  if (model.itemIndex >= 0 && model.itemIndex < wanted) {
    const bool rowChanged = list->currentRow() != model.itemIndex;
    if (rowChanged) list->setCurrentRow(model.itemIndex);
    if (linesChanged || rowChanged) list->scrollToItem(list->item(model.itemIndex));
  } else if (list->currentRow() != -1) {
    list->setCurrentRow(-1);
  }
}

void SetCell(QTableWidget* table, int row, int col, const QString& text) {
  QTableWidgetItem* item = table->item(row, col);
  if (!item) {
    item = new QTableWidgetItem;
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table->setItem(row, col, item);
  }
  if (item->text() != text) item->setText(text);
}

// control model row 0 is the header; control model row r (1..) is table row r - 1.
void ShowGrid(QTableWidget* table, const StringGrid& model) {
  const int formRows = std::min(model.rowCount, static_cast<int>(model.cells.size()));
  for (int col = 0; col < StringGrid::kColumns; ++col) {
    const QString header = formRows > 0 ? ToQt(model.Cell(col, 0)) : QString();
    QTableWidgetItem* item = table->horizontalHeaderItem(col);
    if (!item || item->text() != header)
      table->setHorizontalHeaderItem(col, new QTableWidgetItem(header));
    if (table->columnWidth(col) != model.colWidths[col])
      table->setColumnWidth(col, model.colWidths[col]);
  }
  const int rows = std::max(formRows - 1, 0);
  if (table->rowCount() != rows) table->setRowCount(rows);
  for (int r = 0; r < rows; ++r)
    for (int col = 0; col < StringGrid::kColumns; ++col)
      SetCell(table, r, col, ToQt(model.Cell(col, r + 1)));

  const int selected = model.selectedRow - 1;
  if (selected >= 0 && selected < rows) {
    if (table->currentRow() != selected) table->setCurrentCell(selected, 0);
  } else {
    table->clearSelection();
  }
}

}  // namespace

QPlainTextEdit* ControlBinder::Bind(Memo& model, const char* name) {
  auto* memo = new QPlainTextEdit;
  memo->setObjectName(name);
  memo->setReadOnly(true);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  Add(Cost::Full, [memo, &model] {
    QStringList lines;
    for (const std::string& line : model.lines) lines << ToQt(line);
    const QString text = lines.join(QLatin1Char('\n'));
    if (memo->toPlainText() != text) memo->setPlainText(text);
  });
  return memo;
}

QListWidget* ControlBinder::Bind(ListBox& model, const char* name) {
  auto* list = new QListWidget;
  list->setObjectName(name);
  list->setUniformItemSizes(true);
  auto refresh = [list, &model] {
    const QSignalBlocker block(list);
    ShowLog(list, model);
  };
  Add(Cost::Cheap, refresh);
  QObject::connect(list, &QListWidget::currentRowChanged, list, [this, &model, refresh](int row) {
    Edited([&] { model.itemIndex = row; }, {}, refresh);
  });
  return list;
}

QTableWidget* ControlBinder::Bind(StringGrid& model, const char* name, Handler onClick) {
  auto* table = new QTableWidget(0, StringGrid::kColumns);
  table->setObjectName(name);
  table->verticalHeader()->hide();
  table->verticalHeader()->setMinimumSectionSize(15);
  table->verticalHeader()->setDefaultSectionSize(15);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  table->horizontalHeader()->setHighlightSections(false);
  auto refresh = [table, &model] {
    const QSignalBlocker block(table);
    ShowGrid(table, model);
  };
  Add(Cost::Full, refresh);
  Add(Cost::Cheap, [table, &model] { table->setEnabled(model.enabled); });
  QObject::connect(
      table, &QTableWidget::currentCellChanged, table,
      [this, &model, onClick = std::move(onClick), refresh](int row, int, int previousRow) {
        if (row < 0 || row == previousRow) return;
        Edited([&] { model.selectedRow = row + 1; }, onClick, refresh);
      });
  return table;
}

void ControlBinder::Bind(StatusBar& model, const char* name, QStatusBar* bar) {
  bar->setObjectName(QLatin1String(name));
  bar->setSizeGripEnabled(false);
  static const int kStretch[] = {3, 2, 5};
  std::vector<QLabel*> labels;
  for (std::size_t i = 0; i < model.panels.size(); ++i) {
    auto* label = new QLabel;
    label->setObjectName(QStringLiteral("%1_Panel%2").arg(QLatin1String(name)).arg(i));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(120);
    bar->addWidget(label, kStretch[i]);
    labels.push_back(label);
  }
  Add(Cost::Cheap, [labels, &model] {
    for (std::size_t i = 0; i < labels.size(); ++i) {
      const QString text = ToQt(model.panels[i]);
      if (labels[i]->text() != text) labels[i]->setText(text);
    }
  });
}

}  // namespace halvane
