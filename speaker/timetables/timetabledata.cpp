#include "speaker/timetables/timetabledata.h"

#include <QStringList>

#include "platform/store/store.h"
#include "speaker/core/dataset.h"

namespace timetables {

bool timetableExists(platform::Database& db, const QString& name) {
    platform::Statement st(db,
                           QStringLiteral("select count(*) from scheduling where scheduling=?"));
    st.bind(1, name);
    return st.step() == platform::StepResult::Row && st.value(0).toInt() > 0;
}

bool copyEntries(platform::Database& db, const core::Dataset& entries, const QString& trimmedName,
                 QString* error) {
    platform::Statement st(
        db, QStringLiteral(
                "insert into sch_det (name,weather,playtime,endtime,filepath,monday,Tuesday,"
                "Wednesday,Thursday,Friday,Saturday,Sunday,txtplay,playmodel,dumpplay,isstop,"
                "scheduling,voice) values (:name,:weather,:playtime,:endtime,:filepath,:monday,"
                ":Tuesday,:Wednesday,:Thursday,:Friday,:Saturday,:Sunday,:txtplay,:playmodel,"
                ":dumpplay,:isstop,:scheduling,:voice)"));
    if (!st.ok()) {
        if (error) *error = st.errorText();
        return false;
    }
    // Each parameter takes the entry's field of the same name, but for these two.
    for (int row = 0; row < entries.recordCount(); ++row) {
        for (int i = 1; i <= st.parameterCount(); ++i) {
            const QString field = st.parameterName(i).mid(1);
            if (field == QLatin1String("txtplay"))
                st.bind(i, false);
            else if (field == QLatin1String("scheduling"))
                st.bind(i, trimmedName);
            else
                st.bind(i, entries.value(row, entries.fieldIndex(field)));
        }
        if (st.step() != platform::StepResult::Done) {
            if (error) *error = st.errorText();
            return false;
        }
        st.reset();
    }
    return true;
}

bool deleteEntries(platform::Database& db, const QString& trimmedName, QString* error) {
    platform::Statement st(db, QStringLiteral("delete from sch_det where scheduling =:aa"));
    st.bind(QStringLiteral("aa"), trimmedName);
    if (st.step() == platform::StepResult::Done) return true;
    if (error) *error = st.errorText();
    return false;
}

bool musicListEmpty(platform::Database& db) {
    platform::Statement st(db, QStringLiteral("select count(*) from filelist"));
    return st.step() == platform::StepResult::Row && st.value(0).toInt() == 0;
}

}  // namespace timetables
