#include "speaker/plans/plancommands.h"

#include "platform/prompter/prompter.h"
#include "speaker/core/dataset.h"
#include "speaker/core/dm.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QTableView>
#include <QTextEdit>

namespace plans {

namespace {
constexpr int kTitleColumn = 4;
}

PlanCommands::PlanCommands(platform::Prompter& prompter, core::DM& dm, QTableView* sgrid1,
                           QTextEdit* memo1, Hooks hooks, QObject* parent)
    : QObject(parent),
      prompter_(prompter),
      dm_(dm),
      grid_(sgrid1),
      memo_(memo1),
      hooks_(std::move(hooks)) {
    menu_ = new QMenu(grid_);
    menu_->setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const char* name, const QString& caption, void (PlanCommands::*slot)()) {
        auto* a = menu_->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    E1 = item("E1", QStringLiteral("修改列表 (&E)"), &PlanCommands::E1Click);
    D1 = item("D1", QStringLiteral("删除列表 (&D) "), &PlanCommands::D1Click);
    F1 = item("F1", QStringLiteral("主题定位 (&F)"), &PlanCommands::F1Click);
    N1 = item("N1", QStringLiteral("打开播放内容 (&N)"), &PlanCommands::N1Click);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, menu_,
            [this](const QPoint& p) { menu_->popup(grid_->viewport()->mapToGlobal(p)); });
    connect(grid_, &QTableView::doubleClicked, this, &PlanCommands::N1Click);
    grid_->installEventFilter(this);
}

int PlanCommands::planRows() const {
    return grid_->model() ? grid_->model()->rowCount() : 0;
}

bool PlanCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            N1Click();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void PlanCommands::E1Click() {
    if (!hooks_.askPassword || !hooks_.askPassword()) return;
    dm_.datachanged = false;
    if (hooks_.showEditor) hooks_.showEditor();
    if (dm_.datachanged) rebuildAfterEdit();
}

void PlanCommands::rebuildAfterEdit() {
    if (hooks_.setPlanTimer) hooks_.setPlanTimer(false);
    if (hooks_.stopReading) hooks_.stopReading();
    core::Dataset& q = dm_.Q_draft();
    q.first();
    q.requery();
    if (hooks_.gettodaydata) hooks_.gettodaydata();
    if (hooks_.chkhaveplayed1) hooks_.chkhaveplayed1();
    if (hooks_.setPlanTimer) hooks_.setPlanTimer(true);
}

void PlanCommands::D1Click() {
    core::Dataset& q = dm_.Q_draft();
    if (planRows() < 1 || q.isEmpty()) return;
    if (!hooks_.askPassword || !hooks_.askPassword()) return;
    const int id = hooks_.currentPlanId ? hooks_.currentPlanId() : 0;
    // A row whose plan is already gone (deleted elsewhere) has nothing to delete.
    if (id <= 0 || !q.locate(QStringLiteral("id"), id)) return;
    if (!prompter_.askyesno(QStringLiteral("确信要删除该记录?"))) return;
    if (!q.remove()) return;
    q.requery();
    if (hooks_.gettodaydata) hooks_.gettodaydata();
    if (hooks_.chkhaveplayed1) hooks_.chkhaveplayed1();
}

int PlanCommands::findTitle(const QString& text) const {
    const QAbstractItemModel* model = grid_->model();
    if (!model || text.isEmpty()) return -1;
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->index(r, kTitleColumn).data().toString().contains(text)) return r;
    return -1;
}

void PlanCommands::F1Click() {
    if (!hooks_.askFindText) return;
    const auto text = hooks_.askFindText();
    if (!text) return;
    const int row = findTitle(*text);
    if (row < 0) return;
    const QModelIndex index = grid_->model()->index(row, 0);
    grid_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid_->scrollTo(index);
}

void PlanCommands::N1Click() {
    if (dm_.Q_draft().isEmpty() || planRows() < 1) return;
    if (memo_->document()->isModified() &&
        prompter_.askyesno(QStringLiteral("文章已被修改，要保存吗？")) && hooks_.saveDocument)
        hooks_.saveDocument();
    if (hooks_.requestStop) hooks_.requestStop();
    memo_->setPlainText(hooks_.currentPlanContent ? hooks_.currentPlanContent() : QString());
    memo_->document()->setModified(false);
}

}  // namespace plans
