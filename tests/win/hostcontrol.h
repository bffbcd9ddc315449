#pragma once

#include "cadhost/host.h"

#include "cad/object.h"

#include <span>
#include <string>
#include <vector>

namespace wintest {

// The conformance suite's view into a drawing host: direct calls in
// process, and the same as late-bound "Talvo…" members for the test
// server, which serves them on its root object beside the host's own.
class HostControl {
public:
    explicit HostControl(cadhost::Host &host) : m_host(host) {}

    void reset();
    void addLayer(const std::u16string &name, bool locked);
    std::u16string addText(const std::u16string &text, const cad::Point &at, const std::u16string &layer);
    void queuePicks(const std::vector<std::u16string> &handles);
    void queueSubEntity(const std::u16string &handle);
    std::u16string textOf(const std::u16string &handle) const;
    // A block with attribute definitions (tag, prompt), a reference of it
    // with values by tag (its handle), and the value of one of its
    // attributes by tag.
    void addBlock(const std::u16string &name, const std::vector<std::u16string> &tags,
                  const std::vector<std::u16string> &prompts);
    std::u16string addInsert(const std::u16string &block, const cad::Point &at, const std::vector<std::u16string> &tags,
                             const std::vector<std::u16string> &values);
    std::u16string attributeOf(const std::u16string &insertHandle, const std::u16string &tag) const;
    int undoSteps() const;
    std::vector<std::u16string> selectionSetNames() const;
    cad::Point viewCentre() const;

    // The members above by name ("TalvoAddText" …); false when `member`
    // is not one of them.
    bool control(std::u16string_view member, std::span<cad::Argument> args, cad::Variant &result);

private:
    cadhost::Host &m_host;
};

}  // namespace wintest
