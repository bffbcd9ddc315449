#include "attrgrid/attrwriteback.h"

#include "attrgrid/attrfetch.h"

#include "cad/connection.h"

namespace {

bool cadStillRunning()
{
    try {
        return cad::IsCadRunning();
    } catch (const std::exception &) {
        return false;
    }
}

}  // namespace

AttrWriteResult WriteBackCells(const cad::Object &doc, AttrGridData &data)
{
    AttrWriteResult r;
    const cells::CellMatrix &grid = data.cells;
    cad::UndoMark mark(doc);
    for (int row = 1; row < grid.rowCount() && !r.stopped; ++row) {
        for (int col = 1; col < grid.colCount(); ++col) {
            nAtt *rec = data.record(col, row);
            if (!rec)
                continue;
            const std::u16string &text = grid.cell(col, row).text;
            try {
                cad::Object a = objectOfHandle(doc, rec->sHnd);
                a.put(u"TextString", text);
                a.call(u"Update");
                if (rec->text != text)
                    rec->text = text;
                ++r.written;
            } catch (const std::exception &) {
                ++r.skipped;
                // Against a stopped CAD every further cell would fail too.
                if (!cadStillRunning()) {
                    r.stopped = true;
                    break;
                }
            }
        }
    }
    if (!r.stopped)
        mark.close();
    return r;
}

bool WriteCellNow(const cad::Object &doc, AttrGridData &data, cells::CellGrid &grid, int col, int row)
{
    nAtt *rec = data.record(col, row);
    if (!rec)
        return false;
    try {
        cad::Object a = objectOfHandle(doc, rec->sHnd);
        a.put(u"TextString", grid.cellText(col, row));
        a.call(u"Update");
        cad::Variant point = a.get(u"InsertionPoint");
        std::u16string text = a.get(u"TextString").toString();
        rec->insPt = std::move(point);
        rec->text = std::move(text);
        return true;
    } catch (const std::exception &) {
        grid.setCellText(col, row, rec->text);
        return false;
    }
}
