#include "speaker/plans/fschreader.h"

#include "platform/clock/clock.h"
#include "platform/prompter/prompter.h"
#include "platform/store/database.h"
#include "speaker/core/dataset.h"
#include "speaker/core/dm.h"
#include "speaker/core/preferences.h"
#include "speaker/core/services.h"
#include "speaker/plans/fieldcolumns.h"
#include "speaker/plans/plandelegates.h"
#include "speaker/plans/textimport.h"
#include "speaker/plans/xlsxexport.h"
#include "speaker/speech/readers.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QTableView>
#include <QTextEdit>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace plans {

namespace {

template <typename T>
T* named(T* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

QSpinBox* spin(const char* name, int min, int max, int value) {
    auto* s = named(new QSpinBox, QString::fromLatin1(name));
    s->setRange(min, max);
    s->setValue(value);
    return s;
}

QTimeEdit* timeBox(const char* name) {
    auto* t = named(new QTimeEdit, QString::fromLatin1(name));
    t->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return t;
}

std::vector<FieldColumn> planColumns() {
    using K = ColumnKind;
    std::vector<FieldColumn> c{
        {QStringLiteral("No"), QString(), K::RecNo},
        {QStringLiteral("主题"), QStringLiteral("title"), K::Lookup, QStringLiteral("textfileid")},
        {QStringLiteral("开始时间"), QStringLiteral("playtime"), K::Time},
        {QStringLiteral("结束时间"), QStringLiteral("endtime"), K::Time}};
    const char* days[] = {"一", "二", "三", "四", "五", "六", "日"};
    const char* fields[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                            "Friday", "Saturday", "Sunday"};
    for (int d = 0; d < 7; ++d)
        c.push_back({QString::fromUtf8(days[d]), QString::fromLatin1(fields[d]), K::Bool});
    c.push_back({QStringLiteral("定时"), QStringLiteral("isstop"), K::Bool});
    c.push_back({QStringLiteral("次数"), QStringLiteral("txttimes"), K::Int});
    c.push_back({QStringLiteral("间隔"), QStringLiteral("stoptime"), K::Int});
    c.push_back({QStringLiteral("播放音乐"), QStringLiteral("playmusic"), K::Bool});
    c.push_back({QStringLiteral("文稿完后停止音乐"), QStringLiteral("musicended"), K::Bool});
    c.push_back({QStringLiteral("音量"), QStringLiteral("ttsvolume"), K::Int});
    c.push_back({QStringLiteral("背景音量"), QStringLiteral("musicvolume"), K::Int});
    c.push_back({QStringLiteral("语速"), QStringLiteral("rate"), K::Int});
    c.push_back({QStringLiteral("语音库"), QStringLiteral("speaker"), K::Text});
    return c;
}

std::vector<FieldColumn> textColumns() {
    return {{QStringLiteral("ID"), QStringLiteral("ID"), ColumnKind::Int, QString(), false},
            {QStringLiteral("主题"), QStringLiteral("title"), ColumnKind::Text}};
}

QAction* menuItem(QMenu* menu, const char* name, const QString& caption) {
    auto* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

}  // namespace

Tfschreader::Tfschreader(core::Services& services, core::DM& dm, Hooks hooks, QWidget* parent)
    : QDialog(parent), services_(services), dm_(dm), hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("fschreader"));
    setWindowTitle(QStringLiteral("增加、修改播音计划"));
    setFixedSize(1195, 633);

    plansModel_ = new FieldColumns(dm_.Q_draft(), planColumns(), *services_.prompter, this);
    textsModel_ = new FieldColumns(dm_.Q_textfile(), textColumns(), *services_.prompter, this);

    auto* outer = new QHBoxLayout(this);
    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    buildInputGroup(left);
    buildPlans(left);
    auto* right = new QWidget(this);
    right->setFixedWidth(400);
    buildTexts(right);
    outer->addWidget(left, 1);
    outer->addWidget(right);
    buildMenus();

    // Creation: the voice list is copied once; the rate starts at 1.
    flatComboBox1->addItems(hooks_.voices);
    TrackBar2->setValue(1);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

Tfschreader::~Tfschreader() = default;

void Tfschreader::buildInputGroup(QWidget* into) {
    auto* group = named(new QGroupBox(into), QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(group);
    comb_title = named(new QComboBox, QStringLiteral("comb_title"));
    comb_title->setMinimumWidth(180);
    TimeEdit1 = timeBox("TimeEdit1");
    TimeEdit2 = timeBox("TimeEdit2");
    grid->addWidget(new QLabel(QStringLiteral("主题")), 0, 0);
    grid->addWidget(comb_title, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("开始")), 0, 4);
    grid->addWidget(TimeEdit1, 0, 5);
    grid->addWidget(new QLabel(QStringLiteral("结束")), 0, 6);
    grid->addWidget(TimeEdit2, 0, 7);

    auto* days = new QHBoxLayout;
    const char* captions[] = {"周一", "周二", "周三", "周四", "周五", "周六", "周日"};
    for (int d = 0; d < 7; ++d) {
        CheckBoxes[std::size_t(d)] = named(new QCheckBox(QString::fromUtf8(captions[d])),
                                           QStringLiteral("CheckBox%1").arg(d + 1));
        CheckBoxes[std::size_t(d)]->setChecked(d < 5);
        days->addWidget(CheckBoxes[std::size_t(d)]);
    }
    days->addStretch(1);
    grid->addLayout(days, 1, 0, 1, 8);

    SpinEdit2 = spin("SpinEdit2", 1, 100000, 2);
    SpinEdit1 = spin("SpinEdit1", 0, 1000000, 60);
    SpinEdit3 = spin("SpinEdit3", 0, 100, 98);
    grid->addWidget(new QLabel(QStringLiteral("播放次数")), 2, 0);
    grid->addWidget(SpinEdit2, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("间隔秒数")), 2, 2);
    grid->addWidget(SpinEdit1, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("文稿音量")), 2, 4);
    grid->addWidget(SpinEdit3, 2, 5);

    TrackBar2 = named(new QSlider(Qt::Horizontal), QStringLiteral("TrackBar2"));
    TrackBar2->setRange(-10, 15);
    TrackBar2->setToolTip(QStringLiteral("拖动改变语速"));
    Label1 = named(new QLabel, QStringLiteral("Label1"));
    connect(TrackBar2, &QSlider::valueChanged, Label1, [this](int v) {
        Label1->setText(QStringLiteral("(") + QString::number(v) + QStringLiteral(") "));
    });
    grid->addWidget(new QLabel(QStringLiteral("语速")), 2, 6);
    auto* rateRow = new QHBoxLayout;
    rateRow->addWidget(TrackBar2, 1);
    rateRow->addWidget(Label1);
    grid->addLayout(rateRow, 2, 7);

    flatComboBox1 = named(new QComboBox, QStringLiteral("flatComboBox1"));
    grid->addWidget(new QLabel(QStringLiteral("语音库")), 3, 0);
    grid->addWidget(flatComboBox1, 3, 1, 1, 3);
    chk_playmusic =
        named(new QCheckBox(QStringLiteral("播放背景音乐")), QStringLiteral("chk_playmusic"));
    Chk_musicended = named(new QCheckBox(QStringLiteral("文稿结束后是否停止背景音乐")),
                           QStringLiteral("Chk_musicended"));
    grid->addWidget(chk_playmusic, 3, 4, 1, 2);
    grid->addWidget(Chk_musicended, 3, 6, 1, 2);

    SpinEdit4 = spin("SpinEdit4", 0, 100, 8);
    grid->addWidget(new QLabel(QStringLiteral("背景音量")), 4, 0);
    grid->addWidget(SpinEdit4, 4, 1);
    Label2 =
        named(new QLabel(QStringLiteral("(如果要播放背景音乐，请先在主画面设定背景音乐目录。)")),
              QStringLiteral("Label2"));
    grid->addWidget(Label2, 4, 2, 1, 4);
    Btn_add = named(new QPushButton(QStringLiteral("增加记录")), QStringLiteral("Btn_add"));
    Btn_add->setToolTip(QStringLiteral("增加表格记录"));
    Btn_close = named(new QPushButton(QStringLiteral("退      出")), QStringLiteral("Btn_close"));
    Btn_close->setToolTip(QStringLiteral("关闭"));
    Btn_add->setAutoDefault(false);
    Btn_close->setAutoDefault(false);
    grid->addWidget(Btn_add, 4, 6);
    grid->addWidget(Btn_close, 4, 7);
    connect(Btn_add, &QPushButton::clicked, this, &Tfschreader::Btn_addClick);
    connect(Btn_close, &QPushButton::clicked, this, &QDialog::close);
    into->layout()->addWidget(group);
}

void Tfschreader::buildPlans(QWidget* into) {
    DBGridEh1 = named(new QTableView(into), QStringLiteral("DBGridEh1"));
    DBGridEh1->setToolTip(QStringLiteral("点右键删除记录"));
    bindCursor(DBGridEh1, plansModel_);
    DBGridEh1->setItemDelegateForColumn(plansModel_->columnOf(QStringLiteral("title")),
                                        new TitleDelegate(dm_.Q_textfile(), DBGridEh1));
    auto* time = new TimeDelegate(DBGridEh1);
    DBGridEh1->setItemDelegateForColumn(plansModel_->columnOf(QStringLiteral("playtime")), time);
    DBGridEh1->setItemDelegateForColumn(plansModel_->columnOf(QStringLiteral("endtime")), time);
    DBGridEh1->setItemDelegateForColumn(
        plansModel_->columnOf(QStringLiteral("playmusic")),
        new ButtonCellDelegate([this](int row) { choosemusic(row); }, DBGridEh1));
    DBGridEh1->verticalHeader()->hide();
    DBGridEh1->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    DBGridEh1->setContextMenuPolicy(Qt::CustomContextMenu);
    DBGridEh1->installEventFilter(this);
    connect(DBGridEh1, &QTableView::clicked, this, &Tfschreader::showplantext);
    connect(DBGridEh1, &QTableView::doubleClicked, this, &Tfschreader::showplantext);
    into->layout()->addWidget(DBGridEh1);
    static_cast<QVBoxLayout*>(into->layout())->setStretchFactor(DBGridEh1, 3);

    Memo1 = named(new QTextEdit(into), QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setAcceptRichText(false);
    into->layout()->addWidget(Memo1);
    static_cast<QVBoxLayout*>(into->layout())->setStretchFactor(Memo1, 1);
}

void Tfschreader::buildTexts(QWidget* into) {
    auto* layout = new QVBoxLayout(into);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    Edit1 = named(new QLineEdit(QStringLiteral("在此输入主题")), QStringLiteral("Edit1"));
    Edit1->setMaxLength(50);  // textfile.title holds 50 characters
    BitBtn1 = named(new QPushButton(QStringLiteral("增加")), QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    top->addWidget(Edit1, 1);
    top->addWidget(BitBtn1);
    layout->addLayout(top);
    connect(BitBtn1, &QPushButton::clicked, this, &Tfschreader::BitBtn1Click);

    DBGridEh2 = named(new QTableView(into), QStringLiteral("DBGridEh2"));
    DBGridEh2->setToolTip(QStringLiteral("直接修改或点右键删除"));
    bindCursor(DBGridEh2, textsModel_);
    DBGridEh2->verticalHeader()->hide();
    DBGridEh2->horizontalHeader()->setStretchLastSection(true);
    DBGridEh2->setContextMenuPolicy(Qt::CustomContextMenu);
    DBGridEh2->installEventFilter(this);
    connect(DBGridEh2, &QTableView::clicked, this, &Tfschreader::showtextcontent);
    layout->addWidget(DBGridEh2, 1);

    Memo2 = named(new QPlainTextEdit(into), QStringLiteral("Memo2"));
    Memo2->setToolTip(QStringLiteral("在此输入播放内容，当修改内容后需点\"保存稿件\""));
    Memo2->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(Memo2, 2);
    auto* buttons = new QHBoxLayout;
    btn_open1 = named(new QPushButton(QStringLiteral("导入文件")), QStringLiteral("btn_open1"));
    btn_save = named(new QPushButton(QStringLiteral("&S.保存稿件")), QStringLiteral("btn_save"));
    btn_save->setToolTip(QStringLiteral("保存当前文件"));
    btn_open1->setAutoDefault(false);
    btn_save->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(btn_open1);
    buttons->addWidget(btn_save);
    layout->addLayout(buttons);
    connect(btn_open1, &QPushButton::clicked, this, &Tfschreader::opentext);
    connect(btn_save, &QPushButton::clicked, this, &Tfschreader::btn_saveClick);
    // Any change of the content (typing, an import, an inserted mark) may be saved.
    connect(Memo2, &QPlainTextEdit::textChanged, btn_save, [this] { btn_save->setEnabled(true); });
}

void Tfschreader::buildMenus() {
    PopupMenu1 = named(new QMenu(this), QStringLiteral("PopupMenu1"));
    connect(menuItem(PopupMenu1, "N1", QStringLiteral("刷新")), &QAction::triggered, this,
            &Tfschreader::refreshplans);
    connect(menuItem(PopupMenu1, "N2", QStringLiteral("粘贴")), &QAction::triggered, this,
            &Tfschreader::pastefield);
    connect(menuItem(PopupMenu1, "N3", QStringLiteral("粘贴全部")), &QAction::triggered, this,
            &Tfschreader::pasteall);
    connect(menuItem(PopupMenu1, "N4", QStringLiteral("删除记录")), &QAction::triggered, this,
            &Tfschreader::deleteplan);
    menuItem(PopupMenu1, "N5", QStringLiteral("复制"))->setVisible(false);
    menuItem(PopupMenu1, "N6", QStringLiteral("试听"))->setVisible(false);
    connect(DBGridEh1, &QWidget::customContextMenuRequested, PopupMenu1,
            [this](const QPoint& p) { PopupMenu1->popup(DBGridEh1->viewport()->mapToGlobal(p)); });

    PopupMenu2 = named(new QMenu(this), QStringLiteral("PopupMenu2"));
    connect(menuItem(PopupMenu2, "N7", QStringLiteral("删除记录")), &QAction::triggered, this,
            &Tfschreader::deletetext);
    connect(menuItem(PopupMenu2, "N8", QStringLiteral("导出列表")), &QAction::triggered, this,
            &Tfschreader::exportlist);
    connect(DBGridEh2, &QWidget::customContextMenuRequested, PopupMenu2,
            [this](const QPoint& p) { PopupMenu2->popup(DBGridEh2->viewport()->mapToGlobal(p)); });

    PopupMenu3 = named(new QMenu(this), QStringLiteral("PopupMenu3"));
    connect(menuItem(PopupMenu3, "N9", QStringLiteral("保存稿件")), &QAction::triggered, this,
            &Tfschreader::savetext);
    connect(menuItem(PopupMenu3, "N10", QStringLiteral("导入文件")), &QAction::triggered, this,
            &Tfschreader::opentext);
    connect(menuItem(PopupMenu3, "N11", QStringLiteral("全选")), &QAction::triggered, Memo2,
            &QPlainTextEdit::selectAll);
    connect(menuItem(PopupMenu3, "N12", QStringLiteral("复制")), &QAction::triggered, Memo2,
            &QPlainTextEdit::copy);
    connect(menuItem(PopupMenu3, "N13", QStringLiteral("粘贴")), &QAction::triggered, Memo2,
            &QPlainTextEdit::paste);
    PopupMenu3->addSeparator();
    connect(menuItem(PopupMenu3, "N14", QStringLiteral("插入延时符号")), &QAction::triggered, this,
            [this] { insertmark(QStringLiteral("※")); });
    auto* roles = named(PopupMenu3->addMenu(QStringLiteral("插入朗读角角")), QStringLiteral("N15"));
    for (int i = 0; i < 6; ++i) {
        auto* item = roles->addAction(QStringLiteral("角色%1").arg(i + 1));
        item->setObjectName(QStringLiteral("Nreader%1").arg(i + 1));
        connect(item, &QAction::triggered, this,
                [this, i] { insertmark(QStringLiteral("【角色%1】").arg(i + 1)); });
        roleItems[std::size_t(i)] = item;
    }
    connect(menuItem(PopupMenu3, "N16", QStringLiteral("插入语速")), &QAction::triggered, this,
            &Tfschreader::insertrate);
    connect(menuItem(PopupMenu3, "N17", QStringLiteral("插入音量")), &QAction::triggered, this,
            &Tfschreader::insertvolume);
    connect(Memo2, &QWidget::customContextMenuRequested, PopupMenu3,
            [this](const QPoint& p) { PopupMenu3->popup(Memo2->viewport()->mapToGlobal(p)); });
}

// ---------------------------------------------------------------- showing

void Tfschreader::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void Tfschreader::FormShow() {
    const QTime now = services_.clock->now().time();
    TimeEdit1->setTime(now.addSecs(30 * 60));  // a time of day: past midnight it wraps
    TimeEdit2->setTime(now.addSecs(35 * 60));
    btn_save->setEnabled(false);
    const int voice = hooks_.mainVoiceIndex ? hooks_.mainVoiceIndex() : -1;
    if (voice >= 0 && voice < flatComboBox1->count()) flatComboBox1->setCurrentIndex(voice);
    getcomb_title();
    // The role items name the voices; the reading itself reads the roles when it starts.
    const speech::Readers readers = speech::getreader(core::Preferences(services_.iniPath()));
    for (std::size_t i = 0; i < roleItems.size(); ++i) roleItems[i]->setText(readers.captions[i]);
}

void Tfschreader::getcomb_title() {
    core::Dataset& q = dm_.q_tmp();
    q.setSql(QStringLiteral("select id,title from textfile order by id"));
    comb_title->clear();
    if (!q.open()) return;
    const int id = q.fieldIndex(QStringLiteral("id"));
    const int title = q.fieldIndex(QStringLiteral("title"));
    for (int r = 0; r < q.recordCount(); ++r)
        comb_title->addItem(q.value(r, id).toString() + QLatin1Char('.') +
                            q.value(r, title).toString().trimmed());
    q.close();
    if (comb_title->count() > 0) comb_title->setCurrentIndex(0);
}

// ---------------------------------------------------------------- plans

void Tfschreader::Btn_addClick() {
    const QString start = TimeEdit1->time().toString(QStringLiteral("hh:mm:ss"));
    const QString end = TimeEdit2->time().toString(QStringLiteral("hh:mm:ss"));
    if (end <= start) {
        services_.prompter->showwarning(
            QStringLiteral("开始时间不能大于结束时间，请重新输入时间范围!"));
        return;
    }
    if (std::none_of(CheckBoxes.begin(), CheckBoxes.end(),
                     [](const QCheckBox* b) { return b->isChecked(); })) {
        services_.prompter->showwarning(QStringLiteral("请选择播音日期!"));
        return;
    }
    // Without a text there is nothing for the plan to read.
    bool idOk = false;
    const int textId = comb_title->currentText().section(QLatin1Char('.'), 0, 0).toInt(&idOk);
    if (comb_title->currentIndex() < 0 || !idOk) {
        services_.prompter->showwarning(QStringLiteral("请先在右边增加稿件，再增加播音计划!"));
        return;
    }
    core::Dataset& q = dm_.Q_draft();
    if (!q.append()) return;
    static const char* days[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                 "Friday", "Saturday", "Sunday"};
    q.setField(QStringLiteral("textfileid"), textId);
    q.setField(QStringLiteral("playtime"), start);
    q.setField(QStringLiteral("endtime"), end);
    q.setField(QStringLiteral("txtplay"), true);
    for (std::size_t d = 0; d < 7; ++d)
        q.setField(QString::fromLatin1(days[d]), CheckBoxes[d]->isChecked());
    q.setField(QStringLiteral("playmusic"), chk_playmusic->isChecked());
    q.setField(QStringLiteral("musicended"), Chk_musicended->isChecked());
    q.setField(QStringLiteral("isstop"), true);
    q.setField(QStringLiteral("dumpplay"), false);
    q.setField(QStringLiteral("txttimes"), SpinEdit2->value());
    q.setField(QStringLiteral("stoptime"), SpinEdit1->value());
    q.setField(QStringLiteral("ttsvolume"), SpinEdit3->value());
    q.setField(QStringLiteral("musicvolume"), SpinEdit4->value());
    q.setField(QStringLiteral("rate"), TrackBar2->value());
    q.setField(QStringLiteral("speaker"), flatComboBox1->currentText().trimmed());
    if (!q.post()) {
        q.cancel();
        return;
    }
    q.requery();
}

QVariant Tfschreader::textValue(const QVariant& id, const QString& field) const {
    if (!id.isValid() || id.isNull()) return {};
    const core::Dataset& texts = dm_.Q_textfile();
    const int key = texts.fieldIndex(QStringLiteral("ID"));
    const int f = texts.fieldIndex(field);
    for (int r = 0; r < texts.recordCount(); ++r)
        if (texts.value(r, key).toLongLong() == id.toLongLong()) return texts.value(r, f);
    return {};
}

void Tfschreader::showplantext() {
    core::Dataset& q = dm_.Q_draft();
    // Looked up without moving the text list, whose current row is the one Memo2 saves to.
    const QVariant content =
        q.isEmpty() ? QVariant()
                    : textValue(q.field(QStringLiteral("textfileid")), QStringLiteral("content"));
    Memo1->setPlainText(content.isNull() ? QString() : content.toString());
}

void Tfschreader::refreshplans() {
    dm_.Q_draft().requery();
    dm_.Q_telltime().requery();
    getcomb_title();
}

QString Tfschreader::clipboardText() const {
    QString text = QGuiApplication::clipboard()->text();
    // A cell copied from another grid or a spreadsheet ends with a line break.
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'))) text.chop(1);
    return text;
}

void Tfschreader::pastefield() {
    const QModelIndex cur = DBGridEh1->currentIndex();
    if (!cur.isValid() || dm_.Q_draft().isEmpty()) return;
    plansModel_->store(cur.row(), cur.column(), clipboardText());
}

void Tfschreader::pasteall() {
    const QModelIndex cur = DBGridEh1->currentIndex();
    core::Dataset& q = dm_.Q_draft();
    if (!cur.isValid() || q.isEmpty() || !plansModel_->column(cur.column()).editable ||
        plansModel_->column(cur.column()).kind == ColumnKind::RecNo)
        return;
    const QString text = clipboardText();
    const int current = q.row();
    bool ok = true;
    {
        // All plans or none: a row the checks refuse undoes the rows before it.
        platform::Transaction transaction(dm_.conn1());
        for (int r = 0; ok && r < q.recordCount(); ++r) {
            ok = plansModel_->setValue(r, cur.column(), text) && q.post();
            if (!ok) q.cancel();
        }
        if (ok) ok = transaction.commit();
    }
    if (ok)
        q.moveTo(current);
    else
        q.requery();  // the rows as they are stored again
}

void Tfschreader::deleteplan() {
    core::Dataset& q = dm_.Q_draft();
    if (q.isEmpty()) return;
    if (!services_.prompter->askyesno(QStringLiteral("确信要删除该记录?"))) return;
    q.remove();
}

void Tfschreader::choosemusic(int row) {
    core::Dataset& q = dm_.Q_draft();
    const QStringList files = services_.prompter->chooseFiles(
        QStringLiteral("播放音乐"), QStringLiteral("MID文件(*.MID *.mid)"));
    if (files.isEmpty() || !q.moveTo(row)) return;
    q.setField(QStringLiteral("filepath"), files.constFirst());
    q.setField(QStringLiteral("playmodel"), QStringLiteral("单曲播放"));
    q.setField(QStringLiteral("dumpplay"), false);
    if (!q.post()) q.cancel();
}

// ---------------------------------------------------------------- texts

void Tfschreader::showtextcontent() {
    core::Dataset& texts = dm_.Q_textfile();
    if (texts.isEmpty()) return;
    memoTextId_ = texts.field(QStringLiteral("ID")).toInt();
    const QVariant content = texts.field(QStringLiteral("content"));
    Memo2->setPlainText(content.isNull() ? QString() : content.toString());
    btn_save->setEnabled(false);
}

void Tfschreader::BitBtn1Click() {
    const QString title = Edit1->text().trimmed();
    if (title.isEmpty()) {
        services_.prompter->showinfo(QStringLiteral("请输入主题内容!"));
        Edit1->setFocus();
        return;
    }
    core::Dataset& texts = dm_.Q_textfile();
    if (!texts.append()) return;
    texts.setField(QStringLiteral("title"), title);
    if (!texts.post()) {
        texts.cancel();
        return;
    }
    memoTextId_ = texts.field(QStringLiteral("ID")).toInt();
    Memo2->clear();
    btn_save->setEnabled(false);
    getcomb_title();
}

void Tfschreader::btn_saveClick() {
    dm_.datachanged = true;
    savetext();
}

void Tfschreader::savetext() {
    if (Memo2->toPlainText().trimmed().isEmpty()) {
        services_.prompter->showwarning(QStringLiteral("请输入播音内容!"));
        return;
    }
    core::Dataset& texts = dm_.Q_textfile();
    // The content goes to the text it was loaded from, even when the list moved since.
    if (memoTextId_ > 0 && !texts.locate(QStringLiteral("ID"), memoTextId_)) {
        services_.prompter->showwarning(QStringLiteral("该稿件已被删除，不能保存!"));
        return;
    }
    if (texts.isEmpty()) {
        services_.prompter->showwarning(QStringLiteral("该稿件已被删除，不能保存!"));
        return;
    }
    if (!texts.setField(QStringLiteral("content"), Memo2->toPlainText()) || !texts.post()) {
        texts.cancel();
        return;
    }
    memoTextId_ = texts.field(QStringLiteral("ID")).toInt();
    btn_save->setEnabled(false);
}

void Tfschreader::opentext() {
    const QStringList files = services_.prompter->chooseFiles(QStringLiteral("导入文件"),
                                                              QStringLiteral("文本文件(*.txt)"));
    if (files.isEmpty()) return;
    const auto text = readTextFile(files.constFirst());
    if (!text) {
        services_.prompter->showwarning(QStringLiteral("不能打开文件") + files.constFirst() +
                                        QStringLiteral("!"));
        return;
    }
    Memo2->setPlainText(*text);
}

void Tfschreader::deletetext() {
    core::Dataset& texts = dm_.Q_textfile();
    if (texts.isEmpty()) return;
    const QVariant id = texts.field(QStringLiteral("ID"));
    core::Dataset& q = dm_.q_tmp();
    q.setSql(QStringLiteral("select id,textfileid from draft where textfileid=:aa"));
    q.setParam(QStringLiteral("aa"), id);
    const bool opened = q.open();
    const bool used = !opened || !q.isEmpty();  // unknown counts as used
    q.close();
    if (used) {
        if (opened)
            services_.prompter->showwarning(QStringLiteral("该稿件已被引用播放计划，不能删除!"));
        return;
    }
    if (!services_.prompter->askyesno(QStringLiteral("真的要删除该记录吗？"))) return;
    if (!texts.remove()) return;
    getcomb_title();
    // Memo2 must not keep offering the deleted text for saving.
    if (memoTextId_ == id.toInt()) {
        memoTextId_ = 0;
        showtextcontent();
        if (texts.isEmpty()) {
            Memo2->clear();
            btn_save->setEnabled(false);
        }
    }
}

void Tfschreader::exportlist() {
    const QString file =
        services_.prompter->saveFile(QStringLiteral("导出列表"), QStringLiteral("*.xlsx"),
                                     QStringLiteral("导出数据.xlsx"), QStringLiteral("xlsx"));
    if (file.isEmpty()) return;
    const core::Dataset& texts = dm_.Q_textfile();
    const int id = texts.fieldIndex(QStringLiteral("ID"));
    const int title = texts.fieldIndex(QStringLiteral("title"));
    std::vector<QStringList> rows;
    rows.reserve(std::size_t(texts.recordCount()));
    for (int r = 0; r < texts.recordCount(); ++r)
        rows.push_back({texts.value(r, id).toString(), texts.value(r, title).toString()});
    if (!writeXlsx(file, {QStringLiteral("ID"), QStringLiteral("主题")}, rows)) {
        services_.prompter->showwarning(QStringLiteral("不能写入文件") + file +
                                        QStringLiteral("!"));
        return;
    }
    services_.prompter->message({platform::MessageKind::Information, QStringLiteral("恭喜"),
                                 QStringLiteral("成功输出数据到") + file + QStringLiteral("!"),
                                 QMessageBox::Ok});
}

// ---------------------------------------------------------------- marks

void Tfschreader::insertmark(const QString& mark) {
    const QString text = Memo2->toPlainText();
    const int caret = Memo2->textCursor().position();
    Memo2->setPlainText(text.left(caret) + mark + text.mid(caret));
    QTextCursor c = Memo2->textCursor();
    c.setPosition(caret + int(mark.size()));
    Memo2->setTextCursor(c);
}

void Tfschreader::insertrate() {
    if (!hooks_.askRate) return;
    if (const auto v = hooks_.askRate())
        insertmark(QStringLiteral("【语速") + QString::number(*v) + QStringLiteral("】"));
}

void Tfschreader::insertvolume() {
    if (!hooks_.askVolume) return;
    if (const auto v = hooks_.askVolume())
        insertmark(QStringLiteral("【音量") + QString::number(*v) + QStringLiteral("】"));
}

// ---------------------------------------------------------------- keys

bool Tfschreader::eventFilter(QObject* watched, QEvent* event) {
    auto* view = qobject_cast<QTableView*>(watched);
    if (view && (view == DBGridEh1 || view == DBGridEh2)) {
        if (event->type() == QEvent::KeyPress) {
            // The Down key on the last row never appends an empty row.
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Down && view->model()->rowCount() > 0 &&
                view->currentIndex().row() == view->model()->rowCount() - 1)
                return true;
        } else if (event->type() == QEvent::KeyRelease && QApplication::focusWidget() == view) {
            // (Keys typed into a cell editor are not the grid's.)
            if (view == DBGridEh1)
                showplantext();
            else
                showtextcontent();
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace plans
