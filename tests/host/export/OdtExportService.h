#pragma once

// The test host's side of "Export/ExportToOdt": during the call it reads the protocol tree,
// fills the template the request names and writes an OpenDocument text. Windows only.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include <pugixml.hpp>

struct OdtExportSettings {
    // Where the template named in the request is looked up (the host's own folder).
    std::filesystem::path templateFolder;
    // The OpenDocument text written by a successful call.
    std::filesystem::path output;
    // When not empty, the received tree is also written here as XML text.
    std::filesystem::path xmlCopy;
    // When set, each call answers this value without rendering (the tree is still recorded).
    std::optional<std::int32_t> forcedResult;
};

// What the last call received, as the host saw it.
struct ReceivedExport {
    std::int32_t kind = 0;
    bool flag = false;
    std::wstring templateName;
    // A copy of the whole document (declaration and root), node for node.
    std::shared_ptr<const pugi::xml_document> tree;
    // The same as UTF-8 XML text, indented.
    std::string treeXml;
    // The flag's four bytes as a host that declares the field a 32-bit BOOL reads them.
    std::uint32_t flagAsBool = 0;
};

class OdtExportService {
public:
    explicit OdtExportService(OdtExportSettings settings) : settings_(std::move(settings)) {}

    // Serves one request: `first` is the address of the pugi::xml_node of the tree's "root",
    // `second` the address of the ExportRequest. Returns 0 when the text was written and -1
    // when it could not be (null arguments, no "root", missing or damaged template, an
    // unwritable output), or the forced result. Never throws.
    std::intptr_t serve(std::intptr_t first, std::intptr_t second) noexcept;

    OdtExportSettings& settings() { return settings_; }
    int calls() const { return calls_; }
    const std::optional<ReceivedExport>& lastReceived() const { return last_; }
    // Why the last call failed; empty after a success.
    const std::string& lastError() const { return lastError_; }

private:
    void render(const pugi::xml_node& root, const std::wstring& templateName);

    OdtExportSettings settings_;
    int calls_ = 0;
    std::optional<ReceivedExport> last_;
    std::string lastError_;
};
