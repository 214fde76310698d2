#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/clock/clock.h"
#include "platform/prompter/prompter.h"
#include "speaker/core/dm.h"
#include "speaker/core/services.h"
#include "speaker/timetables/entriesmodel.h"
#include "speaker/timetables/timetabledata.h"
#include "speaker/timetables/timetables.h"

namespace timetables {

namespace {

template <typename T>
T* named(T* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

const QStringList& subjects() {
    static const QStringList list{
        QStringLiteral("早自修"),     QStringLiteral("预备铃"),     QStringLiteral("第一节上课"),
        QStringLiteral("第一节下课"), QStringLiteral("第二节上课"), QStringLiteral("第二节下课"),
        QStringLiteral("广播操"),     QStringLiteral("第三节上课"), QStringLiteral("第三节下课"),
        QStringLiteral("第四节上课"), QStringLiteral("第四节下课"), QStringLiteral("午休"),
        QStringLiteral("第五节上课"), QStringLiteral("第五节下课"), QStringLiteral("第六节上课"),
        QStringLiteral("第六节下课"), QStringLiteral("第七节上课"), QStringLiteral("第七节下课"),
        QStringLiteral("第八节上课"), QStringLiteral("第八节下课"), QStringLiteral("晚自修")};
    return list;
}

const char* const kWeekdayFields[7] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                       "Friday", "Saturday", "Sunday"};

QString timeText(const QTimeEdit* box) {
    return box->time().toString(QStringLiteral("hh:mm:ss"));
}

// Whole seconds: the boxes show no fraction, so none may take part in a comparison.
QTime wholeSeconds(const QTime& t) {
    return QTime(t.hour(), t.minute(), t.second());
}

QTimeEdit* timeBox(QWidget* parent, const char* name) {
    auto* box = named(new QTimeEdit(parent), name);
    box->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return box;
}

}  // namespace

Tfschplaymp3::Tfschplaymp3(core::Services& services, core::DM& dm, BellPage& bell, QWidget* parent)
    : QDialog(parent), services_(services), dm_(dm), bell_(bell), audition_(services) {
    setObjectName(QStringLiteral("fschplaymp3"));
    setWindowTitle(QStringLiteral("音乐播放计划"));
    resize(960, 600);
    auto* layout = new QVBoxLayout(this);

    auto* panel = new QGroupBox(this);
    auto* grid = new QGridLayout(panel);
    grid->addWidget(new QLabel(QStringLiteral("主题"), panel), 0, 0);
    edit1 = named(new QComboBox(panel), "edit1");
    edit1->setEditable(true);
    edit1->addItems(subjects());
    edit1->setCurrentIndex(-1);
    edit1->setMinimumWidth(140);
    grid->addWidget(edit1, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("开始"), panel), 0, 2);
    TimeEdit1 = timeBox(panel, "TimeEdit1");
    grid->addWidget(TimeEdit1, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("结束"), panel), 0, 4);
    TimeEdit2 = timeBox(panel, "TimeEdit2");
    grid->addWidget(TimeEdit2, 0, 5);

    grid->addWidget(new QLabel(QStringLiteral("播放日期"), panel), 1, 0);
    auto* days = new QHBoxLayout;
    const char* dayNames[7] = {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4",
                               "CheckBox5", "CheckBox6", "CheckBox7"};
    const QStringList dayTexts{QStringLiteral("周一"), QStringLiteral("周二"),
                               QStringLiteral("周三"), QStringLiteral("周四"),
                               QStringLiteral("周五"), QStringLiteral("周六"),
                               QStringLiteral("周日")};
    std::array<QCheckBox*, 7> boxes{};
    for (int d = 0; d < 7; ++d) {
        boxes[std::size_t(d)] = named(new QCheckBox(dayTexts[d], panel), dayNames[d]);
        boxes[std::size_t(d)]->setChecked(d < 5);
        days->addWidget(boxes[std::size_t(d)]);
    }
    CheckBox1 = boxes[0];
    CheckBox2 = boxes[1];
    CheckBox3 = boxes[2];
    CheckBox4 = boxes[3];
    CheckBox5 = boxes[4];
    CheckBox6 = boxes[5];
    CheckBox7 = boxes[6];
    grid->addLayout(days, 1, 1, 1, 5);

    grid->addWidget(new QLabel(QStringLiteral("播放方式"), panel), 2, 0);
    auto* modes = new QHBoxLayout;
    RB1 = named(new QRadioButton(QStringLiteral("播放单曲"), panel), "RB1");
    RB1->setChecked(true);
    btn_open = named(new QPushButton(QStringLiteral("选择歌曲"), panel), "btn_open");
    btn_open->setToolTip(QStringLiteral("打开文件"));
    RB2 = named(new QRadioButton(QStringLiteral("播放列表"), panel), "RB2");
    Comb1 = named(new QComboBox(panel), "Comb1");
    Comb1->addItems({QStringLiteral("顺序播放"), QStringLiteral("随机播放")});
    Comb1->setEnabled(false);
    RB3 = named(new QRadioButton(QStringLiteral("播放目录 "), panel), "RB3");
    btn_folder = named(new QPushButton(QStringLiteral("选择目录"), panel), "btn_folder");
    btn_folder->setEnabled(false);
    Edit2 = named(new QLineEdit(panel), "Edit2");
    Edit2->setReadOnly(true);
    for (QWidget* w : std::initializer_list<QWidget*>{RB1, btn_open, RB2, Comb1, RB3, btn_folder})
        modes->addWidget(w);
    modes->addWidget(Edit2, 1);
    grid->addLayout(modes, 2, 1, 1, 5);

    chk_dump = named(new QCheckBox(QStringLiteral("循环播放"), panel), "chk_dump");
    grid->addWidget(chk_dump, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("播放环境"), panel), 3, 2);
    Comb2 = named(new QComboBox(panel), "Comb2");
    Comb2->addItems(EntriesModel::weatherChoices());
    grid->addWidget(Comb2, 3, 3);
    grid->addWidget(new QLabel(QStringLiteral("本条音量"), panel), 3, 4);
    SpinEdit1 = named(new QSpinBox(panel), "SpinEdit1");
    SpinEdit1->setRange(25, 100);
    SpinEdit1->setValue(100);
    grid->addWidget(SpinEdit1, 3, 5);

    auto* actions = new QHBoxLayout;
    Btn_add = named(new QPushButton(QStringLiteral("增加列表"), panel), "Btn_add");
    Btn_add->setToolTip(QStringLiteral("增加到列表"));
    Btn_add->setAutoDefault(false);
    Btn_close = named(new QPushButton(QStringLiteral("退    出"), panel), "Btn_close");
    Btn_close->setToolTip(QStringLiteral("关闭"));
    Btn_close->setAutoDefault(false);
    mp3_player = named(new QToolButton(panel), "mp3_player");
    mp3_player->setToolTip(QStringLiteral("播放"));
    mp3_player->setText(QStringLiteral("▶"));
    mp3_player->setEnabled(false);
    mp3_stop = named(new QToolButton(panel), "mp3_stop");
    mp3_stop->setToolTip(QStringLiteral("停止"));
    mp3_stop->setText(QStringLiteral("■"));
    mp3_stop->setEnabled(false);
    actions->addWidget(Btn_add);
    actions->addWidget(Btn_close);
    actions->addStretch(1);
    actions->addWidget(mp3_player);
    actions->addWidget(mp3_stop);
    grid->addLayout(actions, 4, 0, 1, 6);
    layout->addWidget(panel);

    DBGrid1 = named(new QTableView(this), "DBGrid1");
    model_ = new EntriesModel(dm_.Q_mp3(), true, DBGrid1);
    bindGrid(DBGrid1, model_, false);
    DBGrid1->setItemDelegate(new EntriesDelegate([this] { chooseRowFile(); }, DBGrid1));
    DBGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                             QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    DBGrid1->installEventFilter(this);
    N_audition = new QAction(QStringLiteral("试听"), DBGrid1);
    N_delete = new QAction(QStringLiteral("删除记录"), DBGrid1);
    N_unlock = new QAction(QStringLiteral("修改歌曲名"), DBGrid1);
    N_audition->setObjectName(QStringLiteral("N_audition"));
    N_delete->setObjectName(QStringLiteral("N_delete"));
    N_unlock->setObjectName(QStringLiteral("N_unlock"));
    DBGrid1->addActions({N_audition, N_delete, N_unlock});
    DBGrid1->setContextMenuPolicy(Qt::ActionsContextMenu);
    layout->addWidget(DBGrid1, 1);

    StatusBar1 = named(new QStatusBar(this), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    statusPanel = new QLabel(StatusBar1);
    statusPanel->setMinimumWidth(800);
    StatusBar1->addWidget(statusPanel);
    layout->addWidget(StatusBar1);

    for (QRadioButton* rb : {RB1, RB2, RB3})
        connect(rb, &QRadioButton::clicked, this, [this, rb] { RBClick(rb); });
    connect(btn_open, &QPushButton::clicked, this, &Tfschplaymp3::btn_openClick);
    connect(btn_folder, &QPushButton::clicked, this, &Tfschplaymp3::btn_folderClick);
    connect(Btn_add, &QPushButton::clicked, this, &Tfschplaymp3::Btn_addClick);
    connect(Btn_close, &QPushButton::clicked, this, &QDialog::accept);
    connect(mp3_player, &QToolButton::clicked, this, &Tfschplaymp3::mp3_playerClick);
    connect(mp3_stop, &QToolButton::clicked, this, &Tfschplaymp3::mp3_stopClick);
    connect(N_audition, &QAction::triggered, this, &Tfschplaymp3::auditionClick);
    connect(N_delete, &QAction::triggered, this, &Tfschplaymp3::deleteClick);
    connect(N_unlock, &QAction::triggered, this, &Tfschplaymp3::unlockClick);
}

Tfschplaymp3::~Tfschplaymp3() = default;

std::array<QCheckBox*, 7> Tfschplaymp3::weekdays() const {
    return {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6, CheckBox7};
}

void Tfschplaymp3::setSchname(const QString& name) {
    schname_ = name;
    setWindowTitle(name);
}

void Tfschplaymp3::FormShow() {
    const QTime now = wholeSeconds(services_.clock->now().time());
    TimeEdit1->setTime(now.addSecs(30 * 60));
    TimeEdit2->setTime(now.addSecs(35 * 60));
    model_->setFileLocked(true);
    core::Dataset& entries = dm_.Q_mp3();
    // The grid shows the timetable being edited, whatever the query held before.
    if (!entries.isOpen() || entries.sql() != core::DM::mp3Sql ||
        entries.param(QStringLiteral("aa")).toString() != schname_.trimmed())
        getgriddata(dm_, schname_.trimmed());
    mp3_player->setEnabled(false);
    mp3_stop->setEnabled(false);
}

void Tfschplaymp3::RBClick(QRadioButton* chosen) {
    if (musicListEmpty(dm_.conn1()))
        services_.prompter->showwarning(QStringLiteral("列表框没有音乐，请增加!"));
    // Each mode enables exactly the controls it uses.
    btn_open->setEnabled(chosen == RB1);
    Comb1->setEnabled(chosen != RB1);
    btn_folder->setEnabled(chosen == RB3);
}

void Tfschplaymp3::btn_openClick() {
    const QStringList files = services_.prompter->chooseFiles(
        QStringLiteral("打开文件"),
        QStringLiteral("音频文件(*.WAV,*.MP3,*.WMA,*.MID) (*.WAV *.MP3 *.WMA *.MID *.wav *.mp3 "
                       "*.wma *.mid)"));
    if (!files.isEmpty()) statusPanel->setText(files.first());
}

void Tfschplaymp3::btn_folderClick() {
    const QString folder =
        services_.prompter->chooseFolder(QStringLiteral("选择目录"), Edit2->text());
    if (!folder.isEmpty()) Edit2->setText(folder);
}

void Tfschplaymp3::Btn_addClick() {
    platform::Prompter& prompter = *services_.prompter;
    const QString subject = edit1->currentText();
    if (subject.trimmed().isEmpty()) {
        prompter.showinfo(QStringLiteral("请输入主题内容!"));
        return;
    }
    const QString start = timeText(TimeEdit1);
    const QString end = timeText(TimeEdit2);
    if (end <= start) {
        prompter.showwarning(QStringLiteral("开始时间不能大于结束时间，请重新输入时间范围!"));
        return;
    }
    if (RB1->isChecked() && statusPanel->text().trimmed().isEmpty()) {
        prompter.showwarning(QStringLiteral("请选择所需播放的歌曲!"));
        return;
    }
    if (RB3->isChecked() && Edit2->text().trimmed().isEmpty()) {
        prompter.showwarning(QStringLiteral("请选择所播放的目录!"));
        return;
    }
    const auto days = weekdays();
    if (std::none_of(days.begin(), days.end(), [](QCheckBox* b) { return b->isChecked(); })) {
        prompter.showwarning(QStringLiteral("请选择播音日期!"));
        return;
    }

    core::Dataset& entries = dm_.Q_mp3();
    if (!entries.isOpen()) getgriddata(dm_, schname_.trimmed());
    if (!entries.append()) return;  // a pending change the check refused
    auto set = [&entries](const char* field, const QVariant& v) {
        entries.setField(QString::fromLatin1(field), v);
    };
    set("name", subject);
    if (RB1->isChecked()) {
        set("filepath", statusPanel->text());
        set("playmodel", QStringLiteral("单曲播放"));
        set("dumpplay", chk_dump->isChecked());
    } else {
        set("filepath", RB2->isChecked() ? kMusicList : kFolderPrefix + Edit2->text());
        set("playmodel", Comb1->currentText());
        set("dumpplay", false);
    }
    set("playtime", start);
    set("endtime", end);
    set("txtplay", false);
    set("weather", Comb2->currentText());
    set("scheduling", schname_.trimmed());
    set("voice", SpinEdit1->value());
    for (int d = 0; d < 7; ++d) set(kWeekdayFields[d], days[std::size_t(d)]->isChecked());
    set("isstop", true);
    if (!entries.post()) {
        entries.cancel();  // nothing half-made stays in the grid
        return;
    }
    statusPanel->clear();
}

void Tfschplaymp3::auditionClick() {
    core::Dataset& entries = dm_.Q_mp3();
    if (!entries.isOpen() || entries.isEmpty()) return;
    const QString path = entries.field(QStringLiteral("filepath")).toString();
    const bool isList = path == kMusicList || path.startsWith(kFolderPrefix);
    // Sample entries name their files relative to the program folder.
    const QString file = QFileInfo(path).isRelative() ? services_.programFile(path) : path;
    if (isList || path.isEmpty() || !QFileInfo(file).isFile()) {
        services_.prompter->showwarning(path + QStringLiteral(" 文件不存在!"));
        return;
    }
    if (!audition_.open(file)) {
        services_.prompter->showwarning(QStringLiteral("不能播放:") + path);
        mp3_player->setEnabled(false);
        mp3_stop->setEnabled(false);
        return;
    }
    mp3_player->setEnabled(false);
    mp3_stop->setEnabled(true);
}

void Tfschplaymp3::mp3_playerClick() {
    if (!audition_.isOpen()) return;
    audition_.play();
    mp3_player->setEnabled(false);
    mp3_stop->setEnabled(true);
}

void Tfschplaymp3::mp3_stopClick() {
    audition_.stop();
    mp3_player->setEnabled(audition_.isOpen());
    mp3_stop->setEnabled(false);
}

void Tfschplaymp3::deleteClick() {
    deleteCurrentEntry(services_, dm_, bell_);
}

void Tfschplaymp3::unlockClick() {
    model_->setFileLocked(false);
}

void Tfschplaymp3::chooseRowFile() {
    core::Dataset& entries = dm_.Q_mp3();
    if (!entries.isOpen() || entries.isEmpty()) return;
    const QStringList files = services_.prompter->chooseFiles(
        QStringLiteral("点击选择音乐文件"),
        QStringLiteral("音频文件(*.MP3,*.WAV) (*.MP3 *.WAV *.mp3 *.wav)"));
    if (files.isEmpty()) return;
    if (entries.setField(QStringLiteral("filepath"), files.first())) entries.post();
}

void Tfschplaymp3::done(int result) {
    core::Dataset& entries = dm_.Q_mp3();
    // A change the check refused is dropped, so the query is left browsing.
    if (!entries.checkBrowseMode()) entries.cancel();
    audition_.close();
    mp3_player->setEnabled(false);
    mp3_stop->setEnabled(false);
    QDialog::done(result);
}

bool Tfschplaymp3::eventFilter(QObject* watched, QEvent* event) {
    if (watched == DBGrid1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const QModelIndex current = DBGrid1->currentIndex();
        // Arrowing down from the last row appends nothing.
        if (key == Qt::Key_Down && current.isValid() &&
            current.row() == DBGrid1->model()->rowCount() - 1)
            return true;
        core::Dataset& entries = dm_.Q_mp3();
        if (key == Qt::Key_Escape && (entries.state() == core::Dataset::State::Edit ||
                                      entries.state() == core::Dataset::State::Insert)) {
            entries.cancel();  // "按ESC取消"
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace timetables
