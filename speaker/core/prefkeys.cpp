#include "speaker/core/prefkeys.h"

namespace core::pref {

namespace {

constexpr KeyInfo kAll[] = {
    memocolor,
    fontcolor,
    fontsize,
    fontname,
    FontStyle,  //
    Speaker,
    Rate,
    Volume,
    Model,
    Datetimetype,  //
    panel1,
    panel4,  //
    reader1,
    reader2,
    reader3,
    reader4,
    reader5,
    reader6,  //
    Lastposi,
    Line,  //
    Opendate,
    Scheduling,
    Weather,
    Runplaymp3,
    Playmode,
    default_volume,  //
    default_volume1,
    Mp3bj,
    MusicPath,
    DefaultMusicPath,
    ActivePageIndex,  //
    Grid_Hight,
    RzGroup4,
    Prompt_tone,
    Default_Voice,
    autoshut,
    shuttime,  //
    beforetime,
    alltimes,
    Pwd,
    Isdealy,
    Delay1,
    Delay2,
    Yinping,
    Readtimes,  //
    Intervaltime,
    remind,
    Tts_information,  //
};

}  // namespace

std::span<const KeyInfo> allKeys() {
    return kAll;
}

}  // namespace core::pref
