#include "speaker/app/mainwindow.h"

#include "common/datetext.h"
#include "controls/groupbar.h"
#include "controls/ledfont.h"
#include "platform/clock/clock.h"
#include "platform/prompter/prompter.h"
#include "platform/trace/trace.h"
#include "speaker/app/aboutwindow.h"
#include "speaker/app/windows.h"
#include "speaker/bells/backgroundmusic.h"
#include "speaker/bells/musiclibrary.h"
#include "speaker/bells/musicliststore.h"
#include "speaker/bells/playbackchannel.h"
#include "speaker/bellschedule/bellscheduler.h"
#include "speaker/broadcast/holidays.h"
#include "speaker/broadcast/textscheduler.h"
#include "speaker/core/dm.h"
#include "speaker/core/preferencelists.h"
#include "speaker/core/preferences.h"
#include "speaker/core/services.h"
#include "speaker/plans/plancommands.h"
#include "speaker/services/password.h"
#include "speaker/speech/manualreading.h"
#include "speaker/speech/voicepanel.h"
#include "speaker/timeann/timeann.h"
#include "speaker/timetables/timetables.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace app {

namespace {
constexpr auto kMoneyGreen = "#C0DCC0";

template <typename T>
T* named(T* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QSlider* slider(const char* name, int min, int max, int value) {
    auto* s = named(new QSlider(Qt::Horizontal), name);
    s->setRange(min, max);
    s->setValue(value);
    return s;
}

QSpinBox* spin(const char* name, int min, int max, int value) {
    auto* s = named(new QSpinBox, name);
    s->setRange(min, max);
    s->setValue(value);
    return s;
}
}  // namespace

Tf_speaker::Tf_speaker(core::Services& services, core::DM& dm, QWidget* parent)
    : QMainWindow(parent), services_(services), dm_(dm) {
    setObjectName(QStringLiteral("f_speaker"));
    setWindowTitle(QString());
    resize(1024, 720);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);

    buildMenus();
    buildClockStrip(central);
    RzPageControl1 = named(new QTabWidget(central), "RzPageControl1");
    layout->addWidget(RzPageControl1, 1);
    buildTextPage();
    buildBellPage();
    buildAnnouncePage();
    buildSettingsPage();
    RzPageControl1->setCurrentIndex(0);
    buildStatusBar();

    Timer1 = new platform::Timer(*services_.clock, 200, this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &platform::Timer::timeout, this, &Tf_speaker::Timer1Timer);
    chk_login = new platform::Timer(*services_.clock, 60000, this);
    chk_login->setObjectName(QStringLiteral("chk_login"));
    connect(chk_login, &platform::Timer::timeout, this, &Tf_speaker::chk_loginTimer);

    if (services_.speech) {
        reading_ = std::make_unique<speech::ManualReading>(
            services_, speech::ManualReading::Widgets{
                           Memo1, flatComboBox1, Panel1,
                           [this] { return RzPageControl1->currentWidget() == TabSheet1; },
                           [this](int panel, const QString& t) { setStatusText(panel, t); },
                           [this](int panel) { return statusText(panel); }});
        reading_->datetimetype = [this] { return datetimetype; };
        reading_->selectvoice = [this](int index) {
            if (voicePanel_) voicePanel_->selectvoice(index);
        };
        reading_->reader().getdelaystring(dm_.q_delaytime());
        stopReading = [this] { reading_->reader().requestStop(); };
    }
    // Subsystems built on the pages, in this order (each adds its call here):
    buildBackgroundMusic();
    buildTextSchedule();
    buildPlans();
    buildBellSchedule();
    buildTimetables();  // after the bell schedule: it fills the bell page's hooks
    buildHolidays();    // last: its evaluation follows the day's rebuilds at a change of date
    FormCreate();

    Timer1->start();
    chk_login->start();
    // The last step of creation; the program runs on whatever the audio check says.
    channel_->initbass();
}

Tf_speaker::~Tf_speaker() {
    // Ending the reading waits for its worker, and on the virtual clock that lets time run:
    // the ticks that look at the reading's state stop first.
    if (textScheduler_) textScheduler_->playtext->stop();
    if (backgroundMusic_) backgroundMusic_->bj_timer2->stop();
    reading_.reset();
}

// ---------------------------------------------------------------- building the window

QAction* Tf_speaker::addAction(QMenu* menu, const char* name, const QString& caption, bool built) {
    auto* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    // A command whose feature is not built yet is shown, but cannot be chosen.
    a->setEnabled(built);
    return a;
}

QToolButton* Tf_speaker::addToolButton(QLayout* into, const char* name, const QString& hint,
                                       bool built) {
    auto* b = named(new QToolButton, name);
    b->setToolTip(hint);
    b->setText(hint.left(2));
    b->setAutoRaise(true);
    b->setEnabled(built);
    into->addWidget(b);
    return b;
}

void Tf_speaker::buildMenus() {
    auto* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->setObjectName(QStringLiteral("MenuFile"));
    addAction(file, "N35", QStringLiteral("新建 (&N)"), false);
    addAction(file, "N11", QStringLiteral("打开 (&O)"), false);
    addAction(file, "N12", QStringLiteral("保存 (&S)"), false);
    addAction(file, "A2", QStringLiteral("另存为(&A)"), false);
    file->addSeparator();
    addAction(file, "WAV1", QStringLiteral("导出声音文件 (&W)"), false);
    addAction(file, "N14", QStringLiteral("导出选择范围 (&F)"), false);
    file->addSeparator();
    addAction(file, "N47", QStringLiteral("数据备份(&B)"), false);
    addAction(file, "N49", QStringLiteral("数据还原(&R)"), false);
    file->addSeparator();
    auto* exit = addAction(file, "C1", QStringLiteral("退出 (&C)"), true);
    connect(exit, &QAction::triggered, this, &Tf_speaker::SB_closeClick);

    auto* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
    edit->setObjectName(QStringLiteral("MenuEdit"));
    addAction(edit, "CCtrlC2", QStringLiteral("复制 (&C)  Ctrl+C"), false);
    addAction(edit, "VCtrlV3", QStringLiteral("粘贴 (&V)  Ctrl+V"), false);
    addAction(edit, "XCtrlX1", QStringLiteral("剪切 (&X)  Ctrl+X"), false);
    addAction(edit, "ZCtrlZ1", QStringLiteral("撤销 (&Z)  Ctrl+Z"), false);
    addAction(edit, "A1", QStringLiteral("全选 (&A)  Ctrl+A "), false);

    auto* settings = menuBar()->addMenu(QStringLiteral("设置(&S)"));
    settings->setObjectName(QStringLiteral("MenuSettings"));
    addAction(settings, "N23", QStringLiteral("正文字体   (&F)"), false);
    addAction(settings, "N25", QStringLiteral("正文背景色 (&B)"), false);
    addAction(settings, "N27", QStringLiteral("左对齐     (&L)"), false);
    addAction(settings, "N28", QStringLiteral("居中       (&C)"), false);
    addAction(settings, "N29", QStringLiteral("右对齐     (&R)"), false);
    settings->addSeparator();
    addAction(settings, "N63", QStringLiteral("系统设置"), false);

    auto* help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    help->setObjectName(QStringLiteral("MenuHelp"));
    connect(addAction(help, "N32", QStringLiteral("关于(&A)"), true), &QAction::triggered, this,
            &Tf_speaker::N32Click);
    connect(addAction(help, "N31", QStringLiteral("帮助(&H)"), true), &QAction::triggered, this,
            &Tf_speaker::N31Click);
    addAction(help, "N65", QStringLiteral("语音信息(&P)"), false);
    addAction(help, "N46", QStringLiteral("每日一提(&D)"), false);
}

void Tf_speaker::buildClockStrip(QWidget* central) {
    auto* strip = named(new QWidget(central), "RzPanel2");
    strip->setAutoFillBackground(true);
    QPalette pal = strip->palette();
    pal.setColor(QPalette::Window, QColor(QString::fromLatin1(kMoneyGreen)));
    strip->setPalette(pal);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(8, 4, 8, 4);

    auto makeLed = [&](const char* name) {
        auto* led = named(new TLEDFontNum(strip), name);
        // Green background and green unlit segments: only the lit digits show.
        led->setBGColor(Qt::darkGreen);
        led->setDarkColor(Qt::darkGreen);
        led->setText(QStringLiteral("00"));
        led->resize(46, 37);
        led->setFixedSize(46, 37);
        return led;
    };
    auto makeColon = [&] {
        auto* colon = new QLabel(QStringLiteral(":"), strip);
        colon->setStyleSheet(QStringLiteral(
            "color: yellow; background: darkgreen; font-family: Arial; font-weight: bold;"
            "font-size: 24px;"));
        return colon;
    };
    LED1 = makeLed("LED1");
    LED2 = makeLed("LED2");
    LED3 = makeLed("LED3");
    row->addWidget(LED1);
    row->addWidget(makeColon());
    row->addWidget(LED2);
    row->addWidget(makeColon());
    row->addWidget(LED3);
    row->addSpacing(16);
    StaticText12 = named(new QLabel(strip), "StaticText12");
    QFont f = StaticText12->font();
    f.setBold(true);
    f.setPixelSize(24);
    StaticText12->setFont(f);
    row->addWidget(StaticText12);
    row->addStretch(1);
    SB_close = named(new QToolButton(strip), "SB_close");
    SB_close->setToolTip(QStringLiteral("关闭"));
    SB_close->setText(QStringLiteral("关闭"));
    row->addWidget(SB_close);
    connect(SB_close, &QToolButton::clicked, this, &Tf_speaker::SB_closeClick);
    static_cast<QVBoxLayout*>(central->layout())->addWidget(strip);
}

void Tf_speaker::buildToolbar(QWidget* page, QLayout* into) {
    auto* bar = named(new QWidget(page), "ToolBar1");
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(1);
    addToolButton(row, "SB_new", QStringLiteral("新建"), false);
    addToolButton(row, "SB_open", QStringLiteral("导入文章"), false);
    addToolButton(row, "SB_save", QStringLiteral("保存"), false);
    addToolButton(row, "SB_outwav", QStringLiteral("输出MP3声音文件"), false);
    addToolButton(row, "SB_music", QStringLiteral("输出带音乐背景的MP3文件"), false);
    addToolButton(row, "sb_jexu", QStringLiteral("从最前面开始朗读"), false);
    addToolButton(row, "SB_read", QStringLiteral("当前位置朗读"), false);
    addToolButton(row, "SB_stop", QStringLiteral("停止"), false);
    addToolButton(row, "SB_repeat1", QStringLiteral("全文循环朗读"), false);
    addToolButton(row, "SB_repeat", QStringLiteral("选择范围循环朗读"), false);
    addToolButton(row, "SB_top", QStringLiteral("移到文章最前面"), false);
    addToolButton(row, "SB_bott", QStringLiteral("移到文章最后面"), false);
    addToolButton(row, "sb_delay", QStringLiteral("系统设置"), false);
    addToolButton(row, "SB_time", QStringLiteral("插入日期时间"), false);
    addToolButton(row, "SB_sch", QStringLiteral("定时任务"), false);
    auto* panelSwitch = addToolButton(row, "SB_panel", QStringLiteral("显示或关闭面板"), true);
    connect(panelSwitch, &QToolButton::clicked, this, &Tf_speaker::SB_panelClick);
    addToolButton(row, "SB_addrecord", QStringLiteral("修改播放列表"), false);
    Chk_prompt = named(new QCheckBox(QStringLiteral("提示音"), bar), "Chk_prompt");
    row->addWidget(Chk_prompt);
    row->addStretch(1);
    into->addWidget(bar);
}

void Tf_speaker::buildTextPage() {
    TabSheet1 = named(new QWidget, "TabSheet1");
    RzPageControl1->addTab(TabSheet1, QStringLiteral("文稿播音"));
    auto* outer = new QHBoxLayout(TabSheet1);
    outer->setContentsMargins(0, 0, 0, 0);

    Panel4 = named(new QWidget(TabSheet1), "Panel4");
    auto* left = new QVBoxLayout(Panel4);
    left->setContentsMargins(0, 0, 0, 0);
    Panel1 = named(new QWidget(Panel4), "Panel1");
    auto* toolRow = new QVBoxLayout(Panel1);
    toolRow->setContentsMargins(0, 0, 0, 0);
    buildToolbar(Panel1, toolRow);
    left->addWidget(Panel1);
    Memo1 = named(new QTextEdit(Panel4), "Memo1");
    Memo1->setAcceptRichText(false);
    left->addWidget(Memo1, 1);
    SGrid1 = named(new QTableView(Panel4), "SGrid1");
    SGrid1->setFixedHeight(300);
    left->addWidget(SGrid1);
    outer->addWidget(Panel4, 1);

    panel2 = named(new QWidget(TabSheet1), "panel2");
    panel2->setFixedWidth(230);
    auto* side = new QVBoxLayout(panel2);
    side->setContentsMargins(2, 2, 2, 2);
    RzGroup1 = named(new TGroupBarGroup(QStringLiteral("朗读选项"), panel2), "RzGroup1");
    flatComboBox1 = named(new QComboBox, "flatComboBox1");
    flatComboBox1->setEnabled(false);
    RzGroup1->bodyLayout()->addWidget(flatComboBox1);
    RzGroup1->bodyLayout()->addWidget(new QLabel(QStringLiteral("音量")));
    TrackBar1 = slider("TrackBar1", 0, 100, 95);
    TrackBar1->setEnabled(false);
    RzGroup1->bodyLayout()->addWidget(TrackBar1);
    RzGroup1->bodyLayout()->addWidget(new QLabel(QStringLiteral("语速")));
    TrackBar2 = slider("TrackBar2", -10, 15, 1);
    TrackBar2->setEnabled(false);
    RzGroup1->bodyLayout()->addWidget(TrackBar2);
    Chk_eng = named(new QCheckBox(QStringLiteral("中文模式")), "Chk_eng");
    Chk_eng->setVisible(false);
    RzGroup1->bodyLayout()->addWidget(Chk_eng);
    side->addWidget(RzGroup1);

    RzGroup2 = named(new TGroupBarGroup(QStringLiteral("MP3背景音乐播放"), panel2), "RzGroup2");
    ComBox1 = named(new QComboBox, "ComBox1");
    ComBox1->addItems({QStringLiteral("顺序播放"), QStringLiteral("随机播放")});
    RzGroup2->bodyLayout()->addWidget(ComBox1);
    bj_v = spin("bj_v", 0, 100, 90);
    bj_v1 = spin("bj_v1", 0, 100, 10);
    RzGroup2->bodyLayout()->addWidget(bj_v);
    RzGroup2->bodyLayout()->addWidget(bj_v1);
    RzGroup2->body()->setEnabled(false);
    side->addWidget(RzGroup2);

    RzGroup4 = named(new TGroupBarGroup(QStringLiteral("历史打开文件"), panel2), "RzGroup4");
    ListBox2 = named(new QListWidget, "ListBox2");
    RzGroup4->bodyLayout()->addWidget(ListBox2);
    side->addWidget(RzGroup4);
    side->addStretch(1);
    outer->addWidget(panel2);
}

void Tf_speaker::buildBellPage() {
    TabSheet2 = named(new QWidget, "TabSheet2");
    RzPageControl1->addTab(TabSheet2, QStringLiteral("定时铃声"));
    auto* layout = new QVBoxLayout(TabSheet2);
    auto* top = new QHBoxLayout;
    Comb1 = named(new QComboBox(TabSheet2), "Comb1");
    Comb1->setEnabled(false);  // the timetable lock starts locked
    Comb1->setMinimumWidth(200);
    top->addWidget(new QLabel(QStringLiteral("作息时间表"), TabSheet2));
    top->addWidget(Comb1);
    auto status = [this](int panel, const QString& text) { setStatusText(panel, text); };
    auto openCheck = [this] {
        if (windows_ && windows_->Fcheckunplay) services_.prompter->exec(*windows_->Fcheckunplay);
    };
    channel_ = std::make_unique<bells::PlaybackChannel>(
        services_, bells::ChannelHooks{status, openCheck}, TabSheet2);
    TrackBar4 = channel_->bar()->TrackBar4;
    top->addWidget(channel_->bar(), 1);
    layout->addLayout(top);
    auto* split = new QHBoxLayout;
    SGrid2 = named(new QTableView(TabSheet2), "SGrid2");
    split->addWidget(SGrid2, 2);
    musicList_ = bells::makeDatasetMusicList(dm_.Q_filelist(), dm_.conn1());
    library_ =
        std::make_unique<bells::MusicLibrary>(services_, *channel_, *musicList_, status, TabSheet2);
    RzPageControl2 = library_->pages();
    split->addWidget(RzPageControl2, 1);
    layout->addLayout(split, 1);
}

void Tf_speaker::buildAnnouncePage() {
    TabSheet4 = named(new QWidget, "TabSheet4");
    RzPageControl1->addTab(TabSheet4, QStringLiteral("整点报时"));
    auto* layout = new QVBoxLayout(TabSheet4);
    SGrid3 = named(new QTableView(TabSheet4), "SGrid3");
    layout->addWidget(SGrid3);
    announcer = new timeann::TimeAnnouncer(services_, dm_.Q_telltime(), SGrid3, this);
    announcer->voiceIndex = [this] { return flatComboBox1->currentIndex(); };
    announcer->confirmPassword = [this] {
        return windows_ && services::askPassword(services_, *windows_->f_password);
    };
    announcer->editDialog = [this] { return windows_ ? windows_->Fmodifytelltime.get() : nullptr; };
}

void Tf_speaker::buildSettingsPage() {
    TabSheet3 = named(new QWidget, "TabSheet3");
    RzPageControl1->addTab(TabSheet3, QStringLiteral("系统设置"));
    auto* grid = new QGridLayout(TabSheet3);

    auto* shut = named(new QGroupBox(QStringLiteral("关机设定")), "GroupBox2");
    auto* shutLayout = new QVBoxLayout(shut);
    CheckBox5 = named(new QCheckBox(QStringLiteral("定时关机")), "CheckBox5");
    TimeEdit1 = named(new QTimeEdit(QTime(22, 0)), "TimeEdit1");
    TimeEdit1->setDisplayFormat(QStringLiteral("HH:mm"));
    CheckBox6 = named(new QCheckBox(QStringLiteral("关机前五分钟提示")), "CheckBox6");
    thistimes = named(new QRadioButton(QStringLiteral("本次有效")), "thistimes");
    alltimes = named(new QRadioButton(QStringLiteral("每次有效")), "alltimes");
    thistimes->setChecked(true);
    CheckBox7 = named(new QCheckBox(QStringLiteral("开机自动运行本软件")), "CheckBox7");
    for (QWidget* w : std::initializer_list<QWidget*>{CheckBox5, TimeEdit1, CheckBox6, thistimes,
                                                      alltimes, CheckBox7})
        shutLayout->addWidget(w);
    shut->setEnabled(false);
    grid->addWidget(shut, 0, 0);

    auto* pwd = named(new QGroupBox(QStringLiteral("修改密码")), "GroupBox3");
    auto* pwdLayout = new QFormLayout(pwd);
    pwdLayout->addRow(new QLabel(QStringLiteral("注意：系统初始密码为空。 ")));
    auto passwordBox = [](const char* name) {
        auto* e = named(new QLineEdit, name);
        e->setEchoMode(QLineEdit::Password);
        return e;
    };
    Edit1 = passwordBox("Edit1");
    Edit2 = passwordBox("Edit2");
    Edit3 = passwordBox("Edit3");
    pwdLayout->addRow(QStringLiteral("旧密码"), Edit1);
    pwdLayout->addRow(QStringLiteral("新密码"), Edit2);
    pwdLayout->addRow(QStringLiteral("确认密码"), Edit3);
    BitBtn1 = named(new QToolButton, "BitBtn1");
    BitBtn1->setText(QStringLiteral("保存"));
    BitBtn1->setToolTip(QStringLiteral("保存"));
    pwdLayout->addRow(BitBtn1);
    connect(BitBtn1, &QToolButton::clicked, this, &Tf_speaker::BitBtn1Click);
    grid->addWidget(pwd, 0, 1);

    auto* holidays = named(new QGroupBox(QStringLiteral("下列日期不播音")), "GroupBox4");
    auto* holLayout = new QVBoxLayout(holidays);
    Grid3 = named(new QTableView, "Grid3");
    holLayout->addWidget(Grid3);
    holidays->setEnabled(false);
    grid->addWidget(holidays, 1, 0);

    auto* volume = named(new QGroupBox(QStringLiteral("运行本软件时电脑音量")), "GroupBox5");
    auto* volLayout = new QVBoxLayout(volume);
    TrackBar5 = slider("TrackBar5", 0, 100, 90);
    volLayout->addWidget(TrackBar5);
    volume->setEnabled(false);
    grid->addWidget(volume, 1, 1);

    auto* delays = named(new QGroupBox(QStringLiteral("朗读延时设置")), "GroupBox6");
    auto* delayLayout = new QFormLayout(delays);
    chk_delay1 = named(new QCheckBox(QStringLiteral("句间停顿延时毫秒 ")), "chk_delay1");
    S_delay1 = spin("S_delay1", 0, 100000, 300);
    S_delay2 = spin("S_delay2", 0, 100000, 300);
    delayLayout->addRow(chk_delay1, S_delay1);
    delayLayout->addRow(QStringLiteral("※"), S_delay2);
    delays->setEnabled(false);
    grid->addWidget(delays, 2, 0);

    connect(RzPageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        if (RzPageControl1->widget(index) == TabSheet3) TabSheet3Show();
    });
}

void Tf_speaker::buildStatusBar() {
    auto* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setStyleSheet(QStringLiteral("QStatusBar { background: %1; }").arg(kMoneyGreen));
    const int widths[] = {98, 120, 400, 0};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(bar);
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        if (widths[i] > 0) label->setFixedWidth(widths[i]);
        bar->addWidget(label, widths[i] > 0 ? 0 : 1);
        statusPanels_[i] = label;
    }
}

void Tf_speaker::setStatusText(int panel, const QString& text) {
    if (panel >= 0 && panel < 4) statusPanels_[panel]->setText(text);
}

QString Tf_speaker::statusText(int panel) const {
    return panel >= 0 && panel < 4 ? statusPanels_[panel]->text() : QString();
}

// ---------------------------------------------------------------- creation and showing

void Tf_speaker::FormCreate() {
    // The encoder comes from the system's lame package; nothing to write next to the program.
    setStatusText(1, common::dateWeekText(services_.clock->now().date()));
    loadStartupPreferences();
    // Fill the voice lists and select the stored voice; from now on the bars set the engine.
    voicePanel_ =
        new speech::VoicePanel(services_.speech, {flatComboBox1, TrackBar1, TrackBar2}, this);
    voicePanel_->setAfterChange([this] {
        if (RzPageControl1->currentWidget() == TabSheet1) Memo1->setFocus();
    });
    voicePanel_->fill(core::Preferences(services_.iniPath()).readInt(core::pref::Speaker));
    bjV1Remembered = bj_v1->value();
    fillHistory();
    // The bell grid of today, its buttons showing the loaded state.
    bellScheduler_->showStatePictures();
    bellScheduler_->getschlist();
    bellScheduler_->getsgrid2data();
    announcer->getsgrid3data();
    library_->setFolders(defaultMusicPath, musicPath);
    library_->getfilelist();
    // The today list of text plans, then today's holiday row (so a program started on a date
    // without broadcasts stays silent).
    textScheduler_->gettodaydata();
    holidays_->evaluate();
    Timer1Timer();
}

void Tf_speaker::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FormShow();
}

void Tf_speaker::FormShow() {
    if (Memo1->height() < 100) SGrid1->setFixedHeight(Panel4->height() - Panel1->height() - 130);
    // Once: a later showing (restored from minimised) keeps what the user set since.
    if (!shownOnce_) showBackgroundMusic();
    Chk_eng->setChecked(modelChinese);
    Chk_eng->setText(modelChinese ? QStringLiteral("中文模式") : QStringLiteral("英文模式"));
    // Passed text plans, then the bells already played today.
    textScheduler_->chkhaveplayed1();
    bellScheduler_->chkhaveplayed();
    if (!shownOnce_) {
        shownOnce_ = true;
        services_.trace->record(QStringLiteral("start"),
                                {{QStringLiteral("folder"), services_.programDir}});
    }
}

void Tf_speaker::fillHistory() {
    ListBox2->clear();
    auto& history = dm_.Q_history();  // newest first
    const int column = history.fieldIndex(QStringLiteral("filename"));
    for (int row = 0; row < history.recordCount(); ++row) {
        const QString name = history.value(row, column).toString();
        if (!name.isEmpty()) ListBox2->addItem(name);
    }
}

namespace {
void applyColors(QWidget* w, const QColor& background, const QColor& text) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Base, background);
    pal.setColor(QPalette::Text, text);
    w->setPalette(pal);
}
}  // namespace

void Tf_speaker::loadStartupPreferences() {
    core::Preferences prefs(services_.iniPath());
    const core::StartupPreferences p = core::loadStartup(prefs, services_.clock->now().date());
    editorBackground_ = p.editorBackground;
    editorFontColor_ = p.editorFontColor;
    applyColors(Memo1, p.editorBackground.color, p.editorFontColor.color);
    QFont font = Memo1->font();
    if (p.editorFontSize > 0) font.setPointSize(p.editorFontSize);
    if (!p.editorFontName.isEmpty()) font.setFamily(p.editorFontName);
    p.editorFontStyle.applyTo(font);
    Memo1->setFont(font);
    applyColors(SGrid1, p.gridBackground.color, p.gridFontColor.color);
    TrackBar4->setValue(p.bellVolume);
    TrackBar2->setValue(p.rate);
    TrackBar1->setValue(p.volume);
    datetimetype = p.datetimetype;
    modelChinese = p.model;
    TrackBar5->setValue(p.defaultVoice);
    RzGroup1->setOpened(p.panel1);
    RzGroup4->setOpened(p.panel4);
    shutarmed = p.autoshut;
    CheckBox5->setChecked(p.autoshut);
    musicPath = p.musicPath;
    defaultMusicPath = p.defaultMusicPath;
    shutonce = !p.alltimes;
    (p.alltimes ? alltimes : thistimes)->setChecked(true);
    shutprompt = p.beforetime;
    CheckBox6->setChecked(p.beforetime);
    shuttimetext = p.shuttime;
    TimeEdit1->setTime(QTime::fromString(p.shuttime, QStringLiteral("H:mm")));
    Chk_prompt->setChecked(p.promptTone);
    RzGroup4->setOpened(p.rzGroup4);
    ComBox1->setCurrentIndex(std::clamp(p.playmode, 0, ComBox1->count() - 1));
    schindex = p.scheduling;
    weather = p.weather;
    runplaymp3 = p.runplaymp3;
    isdelay = p.isDelay;
    delay1 = p.delay1;
    delay2 = p.delay2;
    chk_delay1->setChecked(p.isDelay);
    S_delay1->setValue(p.delay1);
    S_delay2->setValue(p.delay2);
    defaultVolume = p.defaultVolume;
    defaultVolume1 = p.defaultVolume1;
    SGrid1->setFixedHeight(std::max(0, p.gridHeight));
    RzPageControl2->setCurrentIndex(p.activePageIndex);
}

void Tf_speaker::saveExitPreferences() {
    core::ExitPreferences p;
    p.editorBackground = editorBackground_;
    p.editorFontColor = editorFontColor_;
    p.editorFontSize = Memo1->font().pointSize();
    p.speaker = std::max(0, flatComboBox1->currentIndex());
    p.rate = TrackBar2->value();
    p.volume = TrackBar1->value();
    p.model = Chk_eng->isChecked();
    p.panel1 = RzGroup1->opened();
    p.panel4 = RzGroup4->opened();
    p.scheduling = std::max(0, Comb1->currentIndex());
    p.weather = weather;
    p.runplaymp3 = runplaymp3;
    p.defaultVolume = bj_v->value();
    p.defaultVolume1 = bj_v1->value();
    p.gridHeight = SGrid1->height();
    p.playmode = std::max(0, ComBox1->currentIndex());
    p.rzGroup4 = RzGroup4->opened();
    p.activePageIndex = RzPageControl2->currentIndex();
    core::Preferences prefs(services_.iniPath());
    core::saveExit(prefs, p);
}

// ---------------------------------------------------------------- timers

void Tf_speaker::Timer1Timer() {
    const QDateTime now = services_.clock->now();
    const QString t = now.toString(QStringLiteral("hh:mm:ss"));
    LED1->setText(t.mid(0, 2));
    LED2->setText(t.mid(3, 2));
    LED3->setText(t.mid(6, 2));
    const QString date = common::dateWeekText(now.date());
    if (StaticText12->text() != date) StaticText12->setText(date);
}

void Tf_speaker::chk_loginTimer() {
    core::Preferences prefs(services_.iniPath());
    const QDate today = services_.clock->now().date();
    // Any difference counts, so setting the computer's clock to another day rebuilds too.
    if (prefs.readDate(core::pref::Opendate) == today) return;
    prefs.writeDate(core::pref::Opendate, today);
    services_.trace->record(QStringLiteral("datechange"),
                            {{QStringLiteral("date"), core::dateText(today)}});
    emit dateChanged(today);
}

// ---------------------------------------------------------------- commands

void Tf_speaker::closeEvent(QCloseEvent* event) {
    // The close box never ends the program: it only minimises the window.
    event->ignore();
    QMetaObject::invokeMethod(this, &QWidget::showMinimized, Qt::QueuedConnection);
}

void Tf_speaker::SB_closeClick() {
    if (!windows_ || !services::askPassword(services_, *windows_->f_password)) return;
    if (stopReading) stopReading();
    if (Memo1->document()->isModified() &&
        services_.prompter->askyesno(QStringLiteral("文章已被修改，要保存吗？"))) {
        if (saveDocument) saveDocument();
    }
    saveExitPreferences();
    services_.trace->record(QStringLiteral("exit"));
    if (services_.quit) services_.quit();
}

void Tf_speaker::SB_panelClick() {
    panel2->setVisible(!panel2->isVisible());
}

void Tf_speaker::N31Click() {
    const QString help = services_.programFile(QStringLiteral("speaker.html"));
    if (QFileInfo::exists(help) && services_.openUrl) services_.openUrl(QUrl::fromLocalFile(help));
}

void Tf_speaker::N32Click() {
    if (windows_) services_.prompter->exec(*windows_->f_about);
}

void Tf_speaker::BitBtn1Click() {
    services::changePassword(services_, Edit1->text(), Edit2->text(), Edit3->text());
}

void Tf_speaker::TabSheet3Show() {
    Edit1->clear();
    Edit2->clear();
    Edit3->clear();
}

}  // namespace app
