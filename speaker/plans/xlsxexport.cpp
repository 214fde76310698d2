#include "speaker/plans/xlsxexport.h"

#include <QFile>

#include <xlsxwriter.h>

#include <memory>

namespace plans {

namespace {

// The workbook is written when it is closed; an unclosed one is closed (and its result
// dropped) when it goes out of scope.
struct WorkbookCloser {
    void operator()(lxw_workbook* wb) const { workbook_close(wb); }
};
using Workbook = std::unique_ptr<lxw_workbook, WorkbookCloser>;

void writeCell(lxw_worksheet* ws, int row, int col, const QString& text) {
    bool number = false;
    const qlonglong value = text.toLongLong(&number);
    if (number && text == QString::number(value)) {
        worksheet_write_number(ws, lxw_row_t(row), lxw_col_t(col), double(value), nullptr);
    } else {
        const QByteArray utf8 = text.toUtf8();
        worksheet_write_string(ws, lxw_row_t(row), lxw_col_t(col), utf8.constData(), nullptr);
    }
}

}  // namespace

bool writeXlsx(const QString& path, const QStringList& headers,
               const std::vector<QStringList>& rows) {
    const QByteArray name = QFile::encodeName(path);
    Workbook wb(workbook_new(name.constData()));
    if (!wb) return false;
    lxw_worksheet* ws = workbook_add_worksheet(wb.get(), nullptr);
    if (!ws) return false;
    for (int c = 0; c < headers.size(); ++c) {
        const QByteArray utf8 = headers[c].toUtf8();
        worksheet_write_string(ws, 0, lxw_col_t(c), utf8.constData(), nullptr);
    }
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c) writeCell(ws, int(r) + 1, c, rows[r][c]);
    return workbook_close(wb.release()) == LXW_NO_ERROR;
}

}  // namespace plans
