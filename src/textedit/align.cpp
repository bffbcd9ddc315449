#include "textedit/align.h"

#include "cad/connection.h"
#include "base/strings.h"

#include <cmath>
#include <exception>

namespace {

class Aligner {
public:
    Aligner(const cad::Object &doc, std::vector<Talvo> &list, const Lines &lines, double dX, double dY,
            const ProgressFn &progress)
        : m_doc(doc)
        , m_list(list)
        , m_lines(lines)
        , m_dX(dX)
        , m_dY(dY)
        , m_progress(progress)
        , m_total(int(lines.size()))
        , m_used(UsedLineCount(lines))
    {}

    void respace()
    {
        m_base = cad::toPoint(m_list[0].insPt);
        const int n = int(m_list.size());
        for (int i = 0; i < n; ++i) {
            if (m_progress)
                m_progress(i + 1, m_total);
            Talvo &rec = m_list[std::size_t(i)];
            if (!rec.sHnd.empty()) {
                if (i < m_used)
                    moveRecord(rec, i);
            } else {
                fillPlaceholder(rec, i);
            }
        }
        if (m_used > n)
            addLines(n);
    }

    // Erases the texts of records past the last data line; true when any
    // record lay there.
    bool eraseTrailing()
    {
        const int m = int(m_list.size());
        if (m_used >= m)
            return false;
        for (int j = m_used; j < m; ++j) {
            Talvo &rec = m_list[std::size_t(j)];
            if (rec.sHnd.empty())
                continue;
            cad::Object e;
            try {
                e = lookupHandle(m_doc, rec.sHnd);
            } catch (const std::exception &) {
                rethrowUnlessCadRunning();
                rec.sHnd.clear();
                continue;
            }
            try {
                e.call(u"Delete");
                rec.sHnd.clear();
            } catch (const std::exception &) {
                rethrowUnlessCadRunning();  // a locked text keeps its handle
            }
        }
        m_doc.call(u"Regen", {cad::Variant(0)});
        return true;
    }

private:
    cad::Point target(int i, double z) const { return {m_base.x + i * m_dX, m_base.y + i * m_dY, z}; }

    static double zOf(const Talvo &rec) { return hasPoint(rec) ? cad::toPoint(rec.insPt).z : 0.0; }

    bool lineHasText(int i) const { return i < m_total && !base::isBlank(m_lines[std::size_t(i)]); }

    void moveRecord(Talvo &rec, int i)
    {
        rec.insPt = cad::fromPoint(target(i, zOf(rec)));
        try {
            cad::Object e = lookupHandle(m_doc, rec.sHnd);
            placeAt(e, rec.txtAli, rec.insPt);
            const std::u16string &line = m_lines[std::size_t(i)];
            if (!base::isBlank(line)) {
                if (e.get(u"TextString").toString() != line)
                    e.put(u"TextString", line);
                m_templ = e;
                e.call(u"Update");
            } else {
                e.call(u"Delete");
                rec.sHnd.clear();
            }
        } catch (const std::exception &) {
            // Gone, or refusing the change (a layer locked since the fetch).
            rethrowUnlessCadRunning();
        }
    }

    void fillPlaceholder(Talvo &rec, int i)
    {
        if (m_templ.isNull() && !FindLastEntity(m_doc, m_list, m_templ))
            return;
        if (!lineHasText(i)) {
            rec.insPt = cad::fromPoint(target(i, zOf(rec)));
            return;
        }
        copyTemplate(
            m_templ, m_lines[std::size_t(i)],
            [&](const cad::Object &copy) {
                // The copy keeps the template's height.
                const int alignment = copy.get(u"Alignment").toInt();
                return cad::fromPoint(target(i, cad::toPoint(readPosition(copy, alignment)).z));
            },
            rec);
    }

    void addLines(int n)
    {
        if (m_templ.isNull() && !FindLastEntity(m_doc, m_list, m_templ))
            return;
        for (int j = n; j < m_used; ++j) {
            Talvo rec;
            rec.insPt = cad::fromPoint(target(j, 0.0));
            if (!base::isBlank(m_lines[std::size_t(j)])) {
                const cad::Variant at = rec.insPt;
                copyTemplate(
                    m_templ, m_lines[std::size_t(j)], [&](const cad::Object &) { return at; }, rec);
            }
            m_list.push_back(std::move(rec));
        }
    }

    const cad::Object &m_doc;
    std::vector<Talvo> &m_list;
    const Lines &m_lines;
    const double m_dX, m_dY;
    const ProgressFn &m_progress;
    const int m_total;
    const int m_used;
    cad::Point m_base;
    cad::Object m_templ;
};

}  // namespace

AlignResult Align(const cad::Object &doc, std::vector<Talvo> &list, const Lines &lines, double dX, double dY,
                  const ProgressFn &progress)
{
    AlignResult r;
    try {
        // Closed on every path, also when the command stops on an error.
        cad::UndoMark mark(doc);
        if (list.size() > 1) {
            Aligner a(doc, list, lines, dX, dY, progress);
            // Without a point in record 0 there is no base to space from.
            if ((std::fabs(dX) > 0.01 || std::fabs(dY) > 0.01) && hasPoint(list[0]))
                a.respace();
            r.regenerated = a.eraseTrailing();
        }
        mark.close();
    } catch (const std::exception &e) {
        r.failed = true;
        r.error = errorText(e);
    }
    return r;
}
