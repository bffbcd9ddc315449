#include "textedit/writeback.h"

#include "cad/connection.h"
#include "base/strings.h"

#include <algorithm>
#include <cmath>
#include <exception>

namespace {

cad::Variant stepped(const cad::Variant &point, double dX, double dY)
{
    cad::Point p = cad::toPoint(point);
    p.x += dX;
    p.y += dY;
    return cad::fromPoint(p);
}

class Pass {
public:
    Pass(const cad::Object &doc, std::vector<Talvo> &list, const Lines &lines, const PumpFn &pump, bool &runFlag,
         const ProgressFn &progress)
        : m_doc(doc)
        , m_list(list)
        , m_lines(lines)
        , m_pump(pump)
        , m_runFlag(runFlag)
        , m_progress(progress)
        , m_total(int(lines.size()))
        , m_used(UsedLineCount(lines))
    {}

    // True when the pass ran to its end.
    bool first()
    {
        const int n = int(m_list.size());
        for (int i = 0; i < n; ++i) {
            report(i + 1);
            Talvo &rec = m_list[std::size_t(i)];
            if (!rec.sHnd.empty())
                writeRecord(rec, i);
            else if (!isAttributeRecord(rec))
                fillPlaceholder(rec, i);
            if (!poll())
                return false;
        }
        return true;
    }

    // Returns false when lines were left to add but the step is zero.
    bool second(double dX, double dY)
    {
        if (!FindLastEntity(m_doc, m_list, m_templ))
            return true;
        const int n = int(m_list.size());
        const int p = std::min(n, m_used);
        if (m_total <= p)
            return true;
        if (std::fabs(dX) < 0.001 && std::fabs(dY) < 0.001)
            return false;
        if (n == 0 || !hasPoint(m_list[std::size_t(n - 1)]))
            return true;  // nowhere to start the steps from
        cad::Variant running = m_list[std::size_t(n - 1)].insPt;
        for (int j = p; j < m_used; ++j) {
            report(j + 1);
            running = stepped(running, dX, dY);
            const std::u16string &line = m_lines[std::size_t(j)];
            Talvo rec;
            if (!base::isBlank(line)) {
                cad::Object copy = copyTemplate(m_templ, line, [&](const cad::Object &) { return running; }, rec,
                                                {.alignment = std::nullopt, .update = false});
                // What the CAD made of the string and the point.
                rec.text = copy.get(u"TextString").toString();
                rec.insPt = readPosition(copy, rec.txtAli);
                m_templ = copy;
            } else {
                rec.insPt = running;
            }
            m_list.push_back(std::move(rec));
            if (!poll())
                break;
        }
        return true;
    }

    bool abortedAt = false;

private:
    void report(int current)
    {
        if (m_progress)
            m_progress(current, m_total);
    }

    bool poll()
    {
        if (m_pump)
            m_pump();
        if (!m_runFlag)
            abortedAt = true;
        return m_runFlag;
    }

    bool lineHasText(int i) const { return i < m_total && !base::isBlank(m_lines[std::size_t(i)]); }

    // A record whose entity is gone or refuses the change stays as it is;
    // later records keep their own lines.
    void writeRecord(Talvo &rec, int i)
    {
        try {
            cad::Object e = lookupHandle(m_doc, rec.sHnd);
            const bool attribute = isAttributeRecord(rec);
            if (i >= m_used) {
                if (!attribute) {
                    e.call(u"Delete");
                    rec.sHnd.clear();
                }
            } else if (attribute || !base::isBlank(m_lines[std::size_t(i)])) {
                const std::u16string &line = m_lines[std::size_t(i)];
                if (e.get(u"TextString").toString() != line)
                    e.put(u"TextString", line);
                m_templ = e;
            } else {
                e.call(u"Delete");
                rec.sHnd.clear();
            }
        } catch (const std::exception &) {
            rethrowUnlessCadRunning();
        }
    }

    void fillPlaceholder(Talvo &rec, int i)
    {
        if (m_templ.isNull() && !FindLastEntity(m_doc, m_list, m_templ))
            return;
        if (!lineHasText(i) || !hasPoint(rec))
            return;  // no text without a position
        const cad::Variant at = rec.insPt;
        copyTemplate(m_templ, m_lines[std::size_t(i)], [&](const cad::Object &) { return at; }, rec,
                     {.alignment = m_list.back().txtAli, .update = false});
    }

    const cad::Object &m_doc;
    std::vector<Talvo> &m_list;
    const Lines &m_lines;
    const PumpFn &m_pump;
    bool &m_runFlag;
    const ProgressFn &m_progress;
    const int m_total;
    const int m_used;
    cad::Object m_templ;
};

}  // namespace

void resizeRecords(std::vector<Talvo> &list, int count, double dX, double dY)
{
    const std::size_t old = list.size();
    list.resize(std::size_t(std::max(count, 0)));
    for (std::size_t i = old; i < list.size(); ++i) {
        if (i > 0 && hasPoint(list[i - 1]))
            list[i].insPt = stepped(list[i - 1].insPt, dX, dY);
    }
}

namespace {
// Index of the last record that names an entity; -1 when none does.
int lastWithEntity(const std::vector<Talvo> &list)
{
    for (int i = int(list.size()) - 1; i >= 0; --i)
        if (!list[std::size_t(i)].sHnd.empty())
            return i;
    return -1;
}
}  // namespace

WriteBackResult WriteBack(const cad::Object &doc, std::vector<Talvo> &list, const Lines &lines, bool attMode, double dX,
                          double dY, const PumpFn &pump, bool &runFlag, const ProgressFn &progress,
                          const WriteBackMessageFn &message)
{
    WriteBackResult r;
    bool firstDone = list.empty();
    auto fail = [&](const std::exception &e) {
        const bool told = r.failed;
        r.failed = true;
        if (r.error.empty())
            r.error = errorText(e);
        if (!told && message)
            message(WriteBackMessage::Failed);
    };
    if (!list.empty()) {
        try {
            // The group is closed on every path, also when a pass fails,
            // after the message the user sees.
            cad::UndoMark mark(doc);
            r.undoGroup = true;
            Pass pass(doc, list, lines, pump, runFlag, progress);
            try {
                firstDone = pass.first();
                if (firstDone && !attMode && !pass.second(dX, dY)) {
                    r.zeroStep = true;
                    if (message)
                        message(WriteBackMessage::ZeroStep);
                }
            } catch (const std::exception &e) {
                fail(e);
            }
            r.aborted = pass.abortedAt;
            mark.close();
        } catch (const std::exception &e) {
            fail(e);
        }
    }
    if (!attMode) {
        // Records the first pass never came to still name their texts; they
        // stay, paired with their lines, so a later write-back reaches them.
        int keep = UsedLineCount(lines);
        if (!firstDone)
            keep = std::max(keep, lastWithEntity(list) + 1);
        resizeRecords(list, keep, dX, dY);
    }
    if (r.failed) {
        try {
            doc.call(u"Regen", {cad::Variant(0)});
        } catch (const std::exception &) {}
    } else {
        doc.call(u"Regen", {cad::Variant(0)});
    }
    return r;
}
