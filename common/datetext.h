#pragma once
#include <QDate>
#include <QString>

namespace common {

// "星期日" … "星期六" for Sunday to Saturday.
QString weekdayName(const QDate& date);
// "yyyy-mm-dd 星期x": the date line of the clock strip and the status bar.
QString dateWeekText(const QDate& date);

}  // namespace common
