-- The initial database of the broadcasting assistant: every table, its indexes and the
-- shipped rows. mkdraft runs this file into a new keyed draft.dat at build time.
-- Yes/No columns hold -1 (yes) or 0 (no); dates are "yyyy-MM-dd hh:mm:ss"; times of day
-- are "HH:MM:SS". Index names are unique per database, so each table's own id index is
-- named <table>_id.

BEGIN;

CREATE TABLE draft (
    id INTEGER CONSTRAINT "PrimaryKey" PRIMARY KEY AUTOINCREMENT,
    "no" INTEGER,
    filepath TEXT,
    playtime TEXT,
    endtime TEXT,
    Monday INTEGER,
    Tuesday INTEGER,
    Wednesday INTEGER,
    Thursday INTEGER,
    Friday INTEGER,
    Saturday INTEGER,
    Sunday INTEGER,
    txtplay INTEGER,
    isstop INTEGER,
    dumpplay INTEGER,
    playmodel TEXT,
    stoptime INTEGER,
    txttimes INTEGER,
    playstatus TEXT,
    scheduling TEXT,
    weather TEXT,
    ttsvolume INTEGER,
    musicvolume INTEGER,
    rate INTEGER,
    speaker TEXT,
    playmusic INTEGER,
    musicended INTEGER,
    textfileid INTEGER
);
CREATE INDEX draft_id ON draft (id);
CREATE INDEX textfileid ON draft (textfileid);

CREATE TABLE textfile (
    ID INTEGER CONSTRAINT "PrimaryKey" PRIMARY KEY AUTOINCREMENT,
    title TEXT,
    content TEXT
);

CREATE TABLE holiday (
    id INTEGER CONSTRAINT "PrimaryKey" PRIMARY KEY AUTOINCREMENT,
    "date" TEXT,
    txt INTEGER,
    mp3 INTEGER,
    remark TEXT
);
CREATE INDEX holiday_id ON holiday (id);

CREATE TABLE scheduling (
    id INTEGER CONSTRAINT "PrimaryKey" PRIMARY KEY AUTOINCREMENT,
    scheduling TEXT
);
CREATE INDEX scheduling_id ON scheduling (id);

CREATE TABLE sch_det (
    id INTEGER CONSTRAINT "PrimaryKey" PRIMARY KEY AUTOINCREMENT,
    "no" INTEGER,
    name TEXT,
    memofile TEXT,
    filepath TEXT,
    playtime TEXT,
    endtime TEXT,
    Monday INTEGER,
    Tuesday INTEGER,
    Wednesday INTEGER,
    Thursday INTEGER,
    Friday INTEGER,
    Saturday INTEGER,
    Sunday INTEGER,
    txtplay INTEGER,
    isstop INTEGER,
    dumpplay INTEGER,
    playmodel TEXT,
    stoptime INTEGER,
    txttimes INTEGER,
    playstatus TEXT,
    scheduling TEXT,
    weather TEXT,
    voice INTEGER
);
CREATE INDEX sch_det_id ON sch_det (id);

CREATE TABLE telltime (
    id INTEGER CONSTRAINT "PrimaryKey" PRIMARY KEY AUTOINCREMENT,
    stime TEXT,
    "text" TEXT,
    speaker TEXT,
    isplay INTEGER
);
CREATE INDEX telltime_id ON telltime (id);

CREATE TABLE delaytime (
    id INTEGER CONSTRAINT "PrimaryKey" PRIMARY KEY AUTOINCREMENT,
    name TEXT,
    descript TEXT,
    delaytime INTEGER,
    ename TEXT,
    candelete INTEGER
);
CREATE INDEX delaytime_id ON delaytime (id);

CREATE TABLE filelist (
    id INTEGER CONSTRAINT "PrimaryKey" PRIMARY KEY AUTOINCREMENT,
    filename TEXT,
    filepath TEXT
);
CREATE INDEX filelist_id ON filelist (id);
-- The music list starts with the tracks the installation carries (inside the program folder).
INSERT INTO filelist (id, filename, filepath) VALUES
    (1, 'breeze.mp3', 'mp3files/breeze.mp3'),
    (2, 'morning.mp3', 'mp3files/morning.mp3'),
    (3, 'stroll.mp3', 'mp3files/stroll.mp3');

CREATE TABLE history (
    id INTEGER CONSTRAINT "PrimaryKey" PRIMARY KEY AUTOINCREMENT,
    filename TEXT,
    orderno INTEGER,
    opendate TEXT
);
CREATE INDEX history_id ON history (id);

CREATE TABLE reminder (
    id INTEGER CONSTRAINT "PrimaryKey" PRIMARY KEY AUTOINCREMENT,
    remark TEXT
);
CREATE INDEX reminder_id ON reminder (id);

-- Pauses after punctuation while reading; the enumeration mark is listed but switched off.
INSERT INTO delaytime (id, name, descript, delaytime, ename, candelete) VALUES
    (1, '句号', '。', 300, 'juhao', -1),
    (2, '逗号(全角)', '，', 0, 'douhao', -1),
    (3, '逗号(半角)', ',', 0, 'douhao', -1),
    (4, '分号(全角)', '；', 0, 'fenhao', -1),
    (5, '分号(半角)', ';', 0, 'fenhao', -1),
    (6, '问号(全角)', '？', 0, 'wenhao', -1),
    (7, '问号(半角)', '?', 0, 'wenhao', -1),
    (8, '叹号(全角)', '！', 0, 'tanhao', -1),
    (9, '叹号(半角)', '!', 0, 'tanhao', -1),
    (16, '顿号', '、', 0, NULL, 0);

-- Every half hour of the day, all switched off.
WITH RECURSIVE half(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM half WHERE n < 47)
INSERT INTO telltime (id, stime, "text", speaker, isplay)
SELECT n + 1,
       printf('%02d:%02d:00', n / 2, (n % 2) * 30),
       '现在是北京时间 ' || printf('%02d:%02d', n / 2, (n % 2) * 30),
       NULL,
       0
FROM half;

INSERT INTO scheduling (id, scheduling) VALUES
    (1, '夏季作息时间'),
    (3, '冬季作息时间'),
    (8, '考试时间表');

-- Sample timetables of a school day. Paths are relative to the program folder.
INSERT INTO sch_det (id, "no", name, memofile, filepath, playtime, endtime,
                     Monday, Tuesday, Wednesday, Thursday, Friday, Saturday, Sunday,
                     txtplay, isstop, dumpplay, playmodel, stoptime, txttimes, playstatus,
                     scheduling, weather, voice) VALUES
    (1, 0, '起床号', NULL, 'bells/qichuang.wav', '06:30:00', '06:33:00', -1, -1, -1, -1, -1, 0, 0,
        0, -1, -1, '单曲播放', 0, 0, NULL, '夏季作息时间', '全天侯', 100),
    (2, 0, '早操音乐', NULL, '目录mp3files', '06:45:00', '07:05:00', -1, -1, -1, -1, -1, 0, 0,
        0, -1, 0, '顺序播放', 0, 0, NULL, '夏季作息时间', '仅晴天', 90),
    (3, 0, '上课铃', NULL, 'bells/shangke.wav', '08:00:00', '08:00:30', -1, -1, -1, -1, -1, 0, 0,
        0, -1, 0, '单曲播放', 0, 0, NULL, '夏季作息时间', '全天侯', 100),
    (4, 0, '下课铃', NULL, 'bells/xiake.wav', '08:45:00', '08:45:30', -1, -1, -1, -1, -1, 0, 0,
        0, -1, 0, '单曲播放', 0, 0, NULL, '夏季作息时间', '全天侯', 100),
    (5, 0, '眼保健操', NULL, 'bells/yanbao.wav', '10:00:00', '10:05:00', -1, -1, -1, -1, -1, 0, 0,
        0, -1, 0, '单曲播放', 0, 0, NULL, '夏季作息时间', '全天侯', 90),
    (6, 0, '上课铃', NULL, 'bells/shangke.wav', '10:10:00', '10:10:30', -1, -1, -1, -1, -1, 0, 0,
        0, -1, 0, '单曲播放', 0, 0, NULL, '夏季作息时间', '全天侯', 100),
    (7, 0, '中午', NULL, '播放列表框音乐', '12:00:06', '12:20:00', -1, -1, -1, -1, -1, 0, 0,
        0, -1, 0, '随机播放', 0, 0, NULL, '夏季作息时间', '全天侯', 80),
    (8, 0, '午休', NULL, 'bells/wuxiu.wav', '12:30:00', '12:30:30', -1, -1, -1, -1, -1, 0, 0,
        0, -1, 0, '单曲播放', 0, 0, NULL, '夏季作息时间', '全天侯', 80),
    (9, 0, '下午上课铃', NULL, 'bells/shangke.wav', '14:30:00', '14:30:30', -1, -1, -1, -1, -1, 0, 0,
        0, -1, 0, '单曲播放', 0, 0, NULL, '夏季作息时间', '全天侯', 100),
    (10, 0, '放学', NULL, 'bells/fangxue.wav', '17:30:00', '17:35:00', -1, -1, -1, -1, -1, 0, 0,
        0, -1, -1, '单曲播放', 0, 0, NULL, '夏季作息时间', '全天侯', 90),
    (11, 0, '起床号', NULL, 'bells/qichuang.wav', '06:50:00', '06:53:00', -1, -1, -1, -1, -1, 0, 0,
        0, -1, -1, '单曲播放', 0, 0, NULL, '冬季作息时间', '全天侯', 100),
    (12, 0, '上课铃', NULL, 'bells/shangke.wav', '08:10:00', '08:10:30', -1, -1, -1, -1, -1, 0, 0,
        0, -1, 0, '单曲播放', 0, 0, NULL, '冬季作息时间', '全天侯', 100),
    (13, 0, '下课铃', NULL, 'bells/xiake.wav', '08:55:00', '08:55:30', -1, -1, -1, -1, -1, 0, 0,
        0, -1, 0, '单曲播放', 0, 0, NULL, '冬季作息时间', '全天侯', 100),
    (14, 0, '眼保健操', NULL, 'bells/yanbao.wav', '10:10:00', '10:15:00', -1, -1, -1, -1, -1, 0, 0,
        0, -1, 0, '单曲播放', 0, 0, NULL, '冬季作息时间', '全天侯', 90),
    (15, 0, '上课铃', NULL, 'bells/shangke.wav', '10:20:00', '10:20:30', -1, -1, -1, -1, -1, 0, 0,
        0, -1, 0, '单曲播放', 0, 0, NULL, '冬季作息时间', '全天侯', 100),
    (16, 0, '午间音乐', NULL, '播放列表框音乐', '12:00:00', '12:20:00', -1, -1, -1, -1, -1, 0, 0,
        0, -1, 0, '顺序播放', 0, 0, NULL, '冬季作息时间', '全天侯', 80),
    (17, 0, '午休', NULL, 'bells/wuxiu.wav', '12:30:00', '12:30:30', -1, -1, -1, -1, -1, 0, 0,
        0, -1, 0, '单曲播放', 0, 0, NULL, '冬季作息时间', '全天侯', 80),
    (18, 0, '下午上课铃', NULL, 'bells/shangke.wav', '14:00:00', '14:00:30', -1, -1, -1, -1, -1, 0, 0,
        0, -1, 0, '单曲播放', 0, 0, NULL, '冬季作息时间', '全天侯', 100),
    (19, 0, '放学', NULL, '目录mp3files', '17:00:00', '17:05:00', -1, -1, -1, -1, -1, 0, 0,
        0, -1, 0, '随机播放', 0, 0, NULL, '冬季作息时间', '仅晴天', 85),
    (20, 0, '预备铃', NULL, 'bells/yubei.wav', '08:50:00', '08:50:30', -1, -1, -1, -1, -1, -1, -1,
        0, -1, 0, '单曲播放', 0, 0, NULL, '考试时间表', '全天侯', 100),
    (21, 0, '开考铃', NULL, 'bells/kaikao.wav', '09:00:00', '09:00:30', -1, -1, -1, -1, -1, -1, -1,
        0, -1, 0, '单曲播放', 0, 0, NULL, '考试时间表', '全天侯', 100),
    (22, 0, '考试结束前十五分钟', NULL, 'bells/tixing.wav', '11:15:00', '11:15:30',
        -1, -1, -1, -1, -1, -1, -1,
        0, -1, 0, '单曲播放', 0, 0, NULL, '考试时间表', '全天侯', 100),
    (23, 0, '收卷铃', NULL, 'bells/shoujuan.wav', '11:30:00', '11:30:30', -1, -1, -1, -1, -1, -1, -1,
        0, -1, 0, '单曲播放', 0, 0, NULL, '考试时间表', '全天侯', 100);

INSERT INTO textfile (ID, title, content) VALUES
    (1, '营业准备词',
     '各位员工早上好！距离开门营业还有十分钟，请大家检查好自己的仪容仪表，整理好货架和柜台，'
     || '打开收银设备，做好迎客准备。祝大家今天工作顺利，心情愉快！'),
    (2, '欢迎广播',
     '亲爱的顾客朋友们，您好！欢迎光临本店。本店商品种类齐全，价格实惠，'
     || '如需帮助，请随时联系身边的工作人员。请保管好您的随身物品，照看好您的孩子，祝您购物愉快！'),
    (3, '特价商品',
     '顾客朋友们请注意，今天一楼食品区推出特价商品：新鲜水果每斤直降两元，'
     || '酸奶买二送一，数量有限，售完即止。欢迎选购！'),
    (4, '惊爆商品',
     '惊爆价来啦！即日起三天内，二楼家电区电饭煲、电水壶全部五折销售，'
     || '每位顾客限购一件。机会难得，请抓紧时间前往选购！'),
    (5, '结束语',
     '顾客朋友们，本店的营业时间即将结束，请您抓紧时间选购商品，到收银台结账。'
     || '感谢您的光临，欢迎明天再来，祝您晚安！'),
    (6, '电影院入场',
     '各位观众请注意，七点三十分在三号厅放映的影片现在开始检票入场，'
     || '请持票观众到三号厅入口排队检票。进场后请将手机调至静音，影厅内禁止吸烟，谢谢合作！'),
    (7, '角色朗读示例',
     '【角色1】大家好，今天是%Date%，下面为您演示角色朗读。'
     || '【角色2】我是第二位朗读者，朗读时可以换成另一种声音。'
     || '【语速5】这一句加快了语速；【语速0】这一句恢复了正常语速。'
     || '【音量60】这一句的声音小一些，【音量100】这一句的声音大一些。'
     || '※停顿之后，【角色1】示例到此结束，谢谢收听！');

INSERT INTO draft (id, "no", filepath, playtime, endtime,
                   Monday, Tuesday, Wednesday, Thursday, Friday, Saturday, Sunday,
                   txtplay, isstop, dumpplay, playmodel, stoptime, txttimes, playstatus,
                   scheduling, weather, ttsvolume, musicvolume, rate, speaker,
                   playmusic, musicended, textfileid) VALUES
    (2, 0, NULL, '07:50:00', '08:00:00', -1, -1, -1, -1, -1, -1, 0,
        -1, 0, 0, NULL, 30, 2, NULL, NULL, NULL, 95, 8, 0, '女声 国语 - VW Hui', 0, 0, 1),
    (3, 0, NULL, '10:00:00', '10:30:00', -1, -1, -1, -1, -1, -1, 0,
        -1, 0, 0, NULL, 40, 3, NULL, NULL, NULL, 95, 8, 0, '女声 国语 - VW Hui', 0, 0, 2),
    (6, 0, NULL, '20:00:00', '20:35:00', -1, -1, -1, -1, -1, -1, 0,
        -1, 0, 0, NULL, 30, 3, NULL, NULL, NULL, 95, 8, 0, '女声 国语 - VW Hui', 0, 0, 3),
    (17, 0, 'music/sample.mp3', '13:53:10', '14:10:00', -1, -1, -1, -1, -1, -1, -1,
        -1, -1, 0, '单曲播放', 30, 3, NULL, NULL, NULL, 90, 8, 0, '女声 国语 - VW Hui', -1, -1, 2),
    (47, 0, NULL, '09:00:00', '09:50:00', 0, 0, 0, 0, -1, -1, -1,
        -1, 0, 0, NULL, 60, 2, NULL, NULL, NULL, 95, 8, 0, '女声 国语 - VW Hui', 0, 0, 3),
    (52, 0, NULL, '08:25:11', '08:30:11', -1, -1, -1, -1, -1, 0, 0,
        -1, 0, 0, NULL, 60, 1, NULL, NULL, NULL, 98, 8, 0, '女声 国语 - VW Hui', 0, 0, 3),
    (53, 0, NULL, '08:33:05', '08:38:06', -1, -1, -1, -1, -1, 0, 0,
        -1, 0, 0, NULL, 60, 1, NULL, NULL, NULL, 98, 8, 0, '女声 国语 - VW Hui', 0, 0, 4),
    (56, 0, NULL, '10:50:00', '11:20:05', -1, -1, -1, -1, -1, 0, 0,
        -1, 0, 0, NULL, 10, 3, NULL, NULL, NULL, 98, 8, 0, '女声 国语 - VW Hui', 0, 0, 4),
    (59, 0, NULL, '21:50:00', '22:00:00', -1, -1, -1, -1, -1, -1, -1,
        -1, -1, 0, NULL, 30, 2, NULL, NULL, NULL, 95, 8, 0, '男声 国语 - VW Liang', 0, 0, 5);

INSERT INTO holiday (id, "date", txt, mp3, remark) VALUES
    (1, '2013-01-01 08:49:33', 0, -1, '元旦'),
    (2, '2013-05-01 08:49:33', 0, -1, '劳动节'),
    (3, '2013-10-01 08:49:33', 0, -1, '国庆节'),
    (4, '2013-10-02 08:49:33', 0, -1, '国庆节');

INSERT INTO reminder (id, remark) VALUES
    (1, '播音计划可以按星期设定：在“增加、修改播音计划”窗口中勾选周一到周日，只在勾选的日子里播出。'),
    (2, '在稿件中插入“※”可以让朗读在该处停顿一下，停顿的长短可在语音设置中调整。'),
    (3, '在稿件中写入“%Date%”，朗读时会自动换成当天的日期，日期格式可在语音设置中选择。'),
    (4, '用“【角色1】”到“【角色6】”可以让不同的声音朗读同一篇稿件，先在语音设置中为各角色选好语音库。'),
    (5, '放假的日子可以在节假日设置里登记，当天可以不播文稿、不打铃、不放音乐。'),
    (6, '作息时间表可以有好几套，例如夏季和冬季各一套，在主画面上切换即可生效。'),
    (7, '临时调整当天的作息时间，可以用“整体临时提前”或“整体临时推迟”，第二天自动恢复。'),
    (8, '整点报时可以逐个时间开启或关闭，开启后到点先响提示音，再报出当前时间。'),
    (9, '请定期备份数据，重装系统或更换电脑后可以用备份恢复全部计划和稿件。'),
    (10, '修改播音计划、时间表等重要设置前需要输入程序密码，请妥善保管密码。'),
    (11, '朗读的文稿可以导出为WAV或MP3文件，拷贝到其他设备上播放。');

COMMIT;
