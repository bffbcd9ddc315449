#include "attrgrid/attrfetch.h"

#include "attrgrid/sortblocks.h"

#include "cad/connection.h"

#include <map>
#include <unordered_map>
#include <utility>

namespace {

std::u16string number(long long n)
{
    return cad::fromUtf8(std::to_string(n));
}

// Runs `f` when the scope ends by any path.
template <class F>
class AtExit {
public:
    explicit AtExit(F f) : m_f(std::move(f)) {}
    ~AtExit() { m_f(); }
    AtExit(const AtExit &) = delete;
    AtExit &operator=(const AtExit &) = delete;

private:
    F m_f;
};

bool cadStillRunning()
{
    try {
        return cad::IsCadRunning();
    } catch (const std::exception &) {
        return false;
    }
}

// Tag -> its first column (a tag listed twice fills only its first).
std::unordered_map<std::u16string, int> columnsOfTags(const AttrSet &set)
{
    std::unordered_map<std::u16string, int> columns;
    for (std::size_t t = 0; t < set.tags.size(); ++t)
        columns.emplace(set.tags[t], int(t) + 1);
    return columns;
}

class Fetch {
public:
    Fetch(const cad::Object &doc, const AttrSet &set, AttrGridData &data, int &sgUndoCnt, const bool &runFlag,
          const FetchHooks &hooks)
        : m_doc(doc)
        , m_set(set)
        , m_data(data)
        , m_sgUndoCnt(sgUndoCnt)
        , m_runFlag(runFlag)
        , m_hooks(hooks)
        , m_columns(columnsOfTags(set))
    {}

    void run(FetchOutcome &r)
    {
        cad::TempSelectionSet temp(m_doc);
        cad::Object ss = temp.variant().toObject();
        pick(ss);
        r.picked = ss.get(u"Count").toInt();
        if (m_hooks.afterPick)
            m_hooks.afterPick(r.picked);
        label(u"INSERT = " + number(r.picked));
        if (r.picked <= 0)
            return;

        std::vector<nBlk> blocks = qualify(ss, r);
        SortBlocks(blocks, 3);
        const int m = int(blocks.size());

        // From here the records and cells describe the new pick.
        m_data.blkList = std::move(blocks);
        m_data.attList.clear();
        cells::CellMatrix &grid = m_data.cells;
        ClearGrid(grid);
        if (m_hooks.suspendRepaint)
            m_hooks.suspendRepaint(true);
        AtExit resume([this] {
            if (m_hooks.suspendRepaint)
                m_hooks.suspendRepaint(false);
        });
        grid.resize(m_set.columns(), m == 0 ? 2 : m + 1);
        if (m > 0 && m_hooks.progressStart)
            m_hooks.progressStart(m);
        m_data.FUndoCells.Clear();
        m_sgUndoCnt = 0;
        r.replaced = true;

        fill(r);
    }

private:
    void label(const std::u16string &text)
    {
        if (m_hooks.label)
            m_hooks.label(text);
    }

    // Runs the pump, then tells whether to go on.
    bool poll()
    {
        if (m_hooks.pump)
            m_hooks.pump();
        return m_runFlag;
    }

    void step(const char16_t *what, int i, int n)
    {
        if (m_hooks.progressStep)
            m_hooks.progressStep();
        label(what + number(i + 1) + u" / " + number(n));
    }

    void pick(const cad::Object &ss)
    {
        ss.call(u"Clear");
        cad::Argument args[2]
            = {{cad::Variant(cad::Int16Array{0, 2}), true},
               {cad::Variant(cad::VariantArray{cad::Variant(u"INSERT"), cad::Variant(m_set.blockPattern)}), true}};
        try {
            ss.callRef(u"SelectOnScreen", args);
        } catch (const std::exception &) {
            // A cancelled pick: the count decides.
        }
        cad::windowApi().sleep(500);
    }

    int columnOf(const std::u16string &tag) const
    {
        auto it = m_columns.find(tag);
        return it == m_columns.end() ? 0 : it->second;
    }

    // Phase 1: the picked references that carry one of the set's tags, in
    // pick order. A per-item CAD error skips the item; a CAD that has
    // stopped ends the fetch with records and cells untouched.
    std::vector<nBlk> qualify(const cad::Object &ss, FetchOutcome &r)
    {
        std::vector<nBlk> blocks;
        const int n = r.picked;
        if (m_hooks.progressStart)
            m_hooks.progressStart(n);
        for (int i = 0; i < n; ++i) {
            if (!poll()) {
                r.aborted = true;
                blocks.clear();
                break;
            }
            step(u"INSERT = ", i, n);
            try {
                cad::Object e = ss.call(u"Item", {cad::Variant(i)}).toObject();
                if (!e.get(u"HasAttributes").toBool())
                    continue;
                for (const cad::Variant &a : e.call(u"GetAttributes").toArray()) {
                    if (columnOf(a.toObject().get(u"TagString").toString()) == 0)
                        continue;
                    nBlk b;
                    b.sHnd = e.get(u"Handle").toString();
                    b.insPt = e.get(u"InsertionPoint");
                    b.lay = e.get(u"Layer").toString();
                    b.index = int(blocks.size());
                    b.blkName = e.get(u"Name").toString();
                    blocks.push_back(std::move(b));
                    break;
                }
            } catch (const std::exception &) {
                if (!cadStillRunning())
                    throw;
            }
        }
        return blocks;
    }

    // Phase 2: one row per record. An error inside a row's attributes ends
    // that row; an error reaching the row's block reference ends the fetch.
    void fill(FetchOutcome &r)
    {
        cells::CellMatrix &grid = m_data.cells;
        const int m = int(m_data.blkList.size());
        for (int i = 0; i < m; ++i) {
            if (!poll()) {
                r.aborted = true;
                break;
            }
            step(u"ATTR = ", i, r.picked);
            const int row = i + 1;
            grid.setCellText(0, row, number(row));
            cad::Object e = objectOfHandle(m_doc, m_data.blkList[std::size_t(i)].sHnd);
            if (!e.get(u"HasAttributes").toBool())
                continue;
            const cad::VariantArray atts = e.call(u"GetAttributes").toArray();
            try {
                std::u16string blockName;
                bool haveName = false;
                for (const cad::Variant &v : atts) {
                    cad::Object a = v.toObject();
                    const int t = columnOf(a.get(u"TagString").toString());
                    if (t == 0)
                        continue;
                    nAtt rec;
                    rec.sHnd = a.get(u"Handle").toString();
                    rec.text = a.get(u"TextString").toString();
                    rec.insPt = a.get(u"InsertionPoint");
                    rec.lay = a.get(u"Layer").toString();
                    grid.setCellText(t, row, rec.text);
                    m_data.attList.push_back(std::move(rec));
                    grid.setRef(t, row, std::int32_t(m_data.attList.size()));
                    if (grid.cellText(t, 0).empty()) {
                        if (!haveName) {
                            blockName = e.get(u"Name").toString();
                            haveName = true;
                        }
                        grid.setCellText(t, 0, prompt(blockName, m_set.tags[std::size_t(t - 1)]));
                    }
                }
            } catch (const std::exception &) {}
        }
    }

    // Prompts do not change while the fetch runs; each block and tag is
    // looked up once.
    std::u16string prompt(const std::u16string &blockName, const std::u16string &tag)
    {
        auto key = std::make_pair(blockName, tag);
        auto it = m_prompts.find(key);
        if (it == m_prompts.end())
            it = m_prompts.emplace(std::move(key), GetAttPrompt(m_doc, blockName, tag)).first;
        return it->second;
    }

    const cad::Object &m_doc;
    const AttrSet &m_set;
    AttrGridData &m_data;
    int &m_sgUndoCnt;
    const bool &m_runFlag;
    const FetchHooks &m_hooks;
    const std::unordered_map<std::u16string, int> m_columns;
    std::map<std::pair<std::u16string, std::u16string>, std::u16string> m_prompts;
};

}  // namespace

cad::Object objectOfHandle(const cad::Object &doc, const std::u16string &handle)
{
    cad::Argument arg{cad::Variant(handle), true};
    cad::Object o = doc.callRef(u"HandleToObject", std::span<cad::Argument>(&arg, 1)).toObject();
    if (o.isNull())
        throw cad::Error(u"HandleToObject");
    return o;
}

void ClearGrid(cells::CellMatrix &grid)
{
    grid.clear();
}

void keepTwoRows(cells::CellMatrix &grid)
{
    if (grid.rowCount() >= 2)
        return;
    grid.resize(grid.colCount(), 2);
    for (int c = 0; c < grid.colCount(); ++c) {
        grid.setCellText(c, 1, std::u16string());
        grid.setRef(c, 1, 0);
    }
}

std::u16string GetAttPrompt(const cad::Object &doc, const std::u16string &blockName, const std::u16string &tag)
{
    cad::Object blocks = doc.get(u"Blocks").toObject();
    const int count = blocks.get(u"Count").toInt();
    for (int i = 0; i < count; ++i) {
        cad::Object block = blocks.call(u"Item", {cad::Variant(i)}).toObject();
        if (block.get(u"Name").toString() != blockName)
            continue;
        const int entities = block.get(u"Count").toInt();
        for (int j = 0; j < entities; ++j) {
            cad::Object e = block.call(u"Item", {cad::Variant(j)}).toObject();
            if (e.get(u"EntityName").toString() == u"AcDbAttributeDefinition" && e.get(u"TagString").toString() == tag)
                return e.get(u"PromptString").toString();
        }
        return {};
    }
    return {};
}

FetchOutcome FetchBlocks(const cad::Object &doc, const AttrSet &set, AttrGridData &data, int &sgUndoCnt,
                         const bool &runFlag, const FetchHooks &hooks)
{
    FetchOutcome r;
    try {
        Fetch(doc, set, data, sgUndoCnt, runFlag, hooks).run(r);
    } catch (const std::exception &) {
        r.failed = true;  // the fetch ends silently
    }
    keepTwoRows(data.cells);
    return r;
}
