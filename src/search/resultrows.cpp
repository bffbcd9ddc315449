#include "search/resultrows.h"

#include "cad/connection.h"

#include <exception>
#include <string>
#include <utility>

namespace {

std::u16string number(long long n)
{
    return cad::fromUtf8(std::to_string(n));
}

// HandleToObject takes its handle by reference.
cad::Object entityOf(const cad::Object &doc, const std::u16string &handle)
{
    cad::Argument arg{cad::Variant(handle), true};
    return doc.callRef(u"HandleToObject", std::span<cad::Argument>(&arg, 1)).toObject();
}

}  // namespace

void FillResultGrid(cells::CellMatrix &grid, const std::vector<Talvo2> &list)
{
    if (list.empty()) {
        ClearResultGrid(grid);
        return;
    }
    grid.resize(1, int(list.size()));
    for (int r = 0; r < int(list.size()); ++r) {
        grid.setCellText(0, r, list[std::size_t(r)].text);
        grid.setRef(0, r, r + 1);
    }
}

void ClearResultGrid(cells::CellMatrix &grid)
{
    grid.resize(1, 1);
    grid.clear();
}

const Talvo2 *RecordOfRow(const std::vector<Talvo2> &list, const cells::CellMatrix &grid, int row)
{
    if (!grid.inside(0, row))
        return nullptr;
    const std::int32_t k = grid.ref(0, row);
    if (k < 1 || std::size_t(k) > list.size())
        return nullptr;
    return &list[std::size_t(k - 1)];
}

Talvo2 *RecordOfRow(std::vector<Talvo2> &list, const cells::CellMatrix &grid, int row)
{
    return const_cast<Talvo2 *>(RecordOfRow(std::as_const(list), grid, row));
}

bool IsChangedRow(const std::vector<Talvo2> &list, const cells::CellMatrix &grid, int row)
{
    const Talvo2 *rec = RecordOfRow(list, grid, row);
    return rec && grid.cell(0, row).text != rec->text;
}

bool IsLockedRow(const std::vector<Talvo2> &list, const cells::CellMatrix &grid, int row)
{
    const Talvo2 *rec = RecordOfRow(list, grid, row);
    return rec && rec->locked;
}

RowStatus DescribeRow(const std::vector<Talvo2> &list, const cells::CellMatrix &grid, int row)
{
    RowStatus s;
    const Talvo2 *rec = RecordOfRow(list, grid, row);
    if (!rec || grid.cell(0, row).text.empty())
        return s;
    s.label6 = number(row + 1) + u" / " + number(grid.rowCount());
    s.usable = true;
    s.handle = rec->sHnd;
    s.insPt = rec->insPt;
    cad::DoubleArray p = rec->insPt.isArray() ? rec->insPt.toDoubleArray() : cad::DoubleArray{};
    s.x = p.size() > 0 ? p[0] : 0;
    s.y = p.size() > 1 ? p[1] : 0;
    return s;
}

bool RestoreEmptiedCell(const std::vector<Talvo2> &list, cells::CellMatrix &grid, int row)
{
    const Talvo2 *rec = RecordOfRow(list, grid, row);
    if (!rec || !grid.cell(0, row).text.empty() || rec->text.empty())
        return false;
    grid.setCellText(0, row, rec->text);
    return true;
}

RowWrite WriteRowOnEnter(std::vector<Talvo2> &list, cells::CellMatrix &grid, int row)
{
    Talvo2 *rec = RecordOfRow(list, grid, row);
    const std::u16string cellText = grid.cellText(0, row);
    if (!rec || cellText.empty() || cellText == rec->text)
        return RowWrite::Skipped;
    if (!cad::IsCadRunning())
        return RowWrite::NoCad;
    cad::Object doc = cad::AttachCad().get(u"ActiveDocument").toObject();
    if (rec->locked) {
        grid.setCellText(0, row, rec->text);
        return RowWrite::Locked;
    }
    try {
        cad::Object e = entityOf(doc, rec->sHnd);
        e.put(u"TextString", cad::Variant(cellText));
        e.call(u"Update");
        rec->insPt = e.get(u"InsertionPoint");
        rec->text = e.get(u"TextString").toString();
    } catch (const std::exception &) {
        // The user's edit stays in the grid (red), to be written again
        // or undone; nothing typed is lost.
        return RowWrite::Failed;
    }
    return RowWrite::Written;
}

UpdateCount WriteChangedRows(const cad::Object &doc, std::vector<Talvo2> &list, const cells::CellMatrix &grid)
{
    UpdateCount c;
    cad::UndoMark group(doc);
    for (int r = 0; r < grid.rowCount(); ++r) {
        if (!IsChangedRow(list, grid, r))
            continue;
        Talvo2 &rec = *RecordOfRow(list, grid, r);
        if (rec.locked) {
            ++c.locked;
            continue;
        }
        ++c.targets;
        const std::u16string &cellText = grid.cell(0, r).text;
        try {
            cad::Object e = entityOf(doc, rec.sHnd);
            e.put(u"TextString", cad::Variant(cellText));
            e.call(u"Update");
            cad::Variant point = e.get(u"InsertionPoint");
            rec.insPt = std::move(point);
            rec.text = cellText;
            ++c.written;
        } catch (const std::exception &) {
            // Skipped; the row stays changed and counts in targets only.
        }
    }
    group.close();
    return c;
}

UpdateRun RunUpdate(std::vector<Talvo2> &list, const cells::CellMatrix &grid)
{
    UpdateRun run;
    if (list.empty() || !cad::IsCadRunning())
        return run;
    cad::Object app = cad::AttachCad();
    cad::WindowApi &win = cad::windowApi();
    cad::WindowHandle w = app.get(u"HWND").toInt64();
    if (win.isMinimised(w)) {
        win.restore(w);
        win.sleep(500);
    }
    cad::Object doc = app.get(u"ActiveDocument").toObject();
    run.count = WriteChangedRows(doc, list, grid);
    run.wrote = true;
    return run;
}

std::u16string UpdateMessage(const UpdateCount &count)
{
    std::u16string s = count.targets == 0
                           ? std::u16string(u"更新対象の TEXT はありません．")
                           : number(count.written) + u" / " + number(count.targets) + u" 個の TEXT を更新しました．";
    if (count.locked > 0)
        s += u"\nロック画層の TEXT " + number(count.locked) + u" 個は更新されません．";
    return s;
}
