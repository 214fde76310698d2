#include "speaker/bells/librarypages.h"

#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace bells {
namespace {

QAction* item(QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

// Shows `menu` where the user right-clicks `view`.
void attach(QWidget* view, QMenu* menu) {
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(view, &QWidget::customContextMenuRequested, menu,
                     [view, menu](const QPoint& at) { menu->popup(view->mapToGlobal(at)); });
}

QWidget* page(const char* name, QWidget* content) {
    auto* w = new QWidget;
    w->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    return w;
}

QListWidget* folderView(const char* name) {
    auto* v = new QListWidget;
    v->setObjectName(QString::fromLatin1(name));
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    return v;
}

}  // namespace

LibraryPages::LibraryPages(QWidget* parent) : QTabWidget(parent) {
    setObjectName(QStringLiteral("RzPageControl2"));

    ListView1 = new QTreeWidget;
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setRootIsDecorated(false);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setToolTip(QStringLiteral("歌曲列表，点右键操作"));
    ListView1->setHeaderLabels(
        {QStringLiteral("歌名"), QStringLiteral("路径"), QStringLiteral("No")});
    ListView1->setColumnWidth(0, 150);
    ListView1->setColumnWidth(1, 100);
    ListView1->setColumnHidden(2, true);  // the id, width 0

    DefaultListBox1 = folderView("DefaultListBox1");
    Listbox1 = folderView("Listbox1");

    addTab(page("TabSheet5", ListView1), QStringLiteral("音乐列表"));
    addTab(page("TabSheet6", DefaultListBox1), QStringLiteral("默认目录"));
    addTab(page("TabSheet7", Listbox1), QStringLiteral("定时目录"));

    listMenu = new QMenu(this);
    listMenu->setObjectName(QStringLiteral("ListView1Menu"));
    listAdd = item(listMenu, "listAdd", QStringLiteral("添加歌曲"));
    listSingle = item(listMenu, "listSingle", QStringLiteral("单曲播放"));
    listLoop = item(listMenu, "listLoop", QStringLiteral("单曲循环"));
    listSequential = item(listMenu, "listSequential", QStringLiteral("顺序播放"));
    listRandom = item(listMenu, "listRandom", QStringLiteral("随机播放"));
    listClear = item(listMenu, "listClear", QStringLiteral("清除歌曲"));
    listClearAll = item(listMenu, "listClearAll", QStringLiteral("清除全部"));
    attach(ListView1, listMenu);

    defaultMenu = new QMenu(this);
    defaultMenu->setObjectName(QStringLiteral("DefaultListBox1Menu"));
    defaultSingle = item(defaultMenu, "defaultSingle", QStringLiteral("单曲播放"));
    defaultLoop = item(defaultMenu, "defaultLoop", QStringLiteral("单曲循环"));
    defaultSequential = item(defaultMenu, "defaultSequential", QStringLiteral("顺序播放"));
    defaultRandom = item(defaultMenu, "defaultRandom", QStringLiteral("随机播放"));
    defaultPrevious = item(defaultMenu, "defaultPrevious", QStringLiteral("上 一 首"));
    defaultNext = item(defaultMenu, "defaultNext", QStringLiteral("下 一 首"));
    defaultFolder = item(defaultMenu, "defaultFolder", QStringLiteral("选择目录"));
    attach(DefaultListBox1, defaultMenu);

    timedMenu = new QMenu(this);
    timedMenu->setObjectName(QStringLiteral("Listbox1Menu"));
    timedSequential = item(timedMenu, "timedSequential", QStringLiteral("顺序播放"));
    timedRandom = item(timedMenu, "timedRandom", QStringLiteral("随机播放"));
    timedPrevious = item(timedMenu, "timedPrevious", QStringLiteral("上 一 首"));
    timedNext = item(timedMenu, "timedNext", QStringLiteral("下 一 首"));
    timedFolder = item(timedMenu, "timedFolder", QStringLiteral("选择目录"));
    attach(Listbox1, timedMenu);
}

}  // namespace bells
