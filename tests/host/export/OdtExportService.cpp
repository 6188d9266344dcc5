#include "tests/host/export/OdtExportService.h"

#include <pugixml.hpp>

#include <cstddef>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "module/HostApi.h"
#include "tests/host/export/TemplateFill.h"
#include "tests/host/export/Utf8Path.h"
#include "tests/host/export/ZipPackage.h"

namespace {

struct StringWriter : pugi::xml_writer {
    std::string bytes;
    void write(const void* data, std::size_t size) override {
        bytes.append(static_cast<const char*>(data), size);
    }
};

std::string treeAsXml(pugi::xml_node root) {
    StringWriter writer;
    root.root().print(writer, PUGIXML_TEXT("  "), pugi::format_default, pugi::encoding_utf8);
    return std::move(writer.bytes);
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) throw std::runtime_error("cannot write " + Utf8Path(path));
}

// The parts of the template that carry placeholders.
bool isFilledPart(const std::string& name) {
    return name == "content.xml" || name == "styles.xml";
}

}  // namespace

std::intptr_t OdtExportService::serve(std::intptr_t first, std::intptr_t second) noexcept {
    ++calls_;
    lastError_.clear();
    try {
        const auto* root = reinterpret_cast<const pugi::xml_node*>(first);
        const auto* request = reinterpret_cast<const ExportRequest*>(second);
        if (!root || !request || !request->templateName)
            throw std::invalid_argument("no tree or no request");
        if (std::wstring(root->name()) != L"root" || root->root().type() != pugi::node_document)
            throw std::invalid_argument("the tree is not a protocol document");

        auto copy = std::make_shared<pugi::xml_document>();
        for (pugi::xml_node node : root->root().children()) copy->append_copy(node);
        last_ = ReceivedExport{request->kind, request->flag, request->templateName, std::move(copy),
                               treeAsXml(*root)};
        const auto* bytes = reinterpret_cast<const unsigned char*>(request);
        std::memcpy(&last_->flagAsBool, bytes + offsetof(ExportRequest, flag),
                    sizeof last_->flagAsBool);
        if (!settings_.xmlCopy.empty()) writeFile(settings_.xmlCopy, last_->treeXml);
        if (settings_.forcedResult) return *settings_.forcedResult;
        render(*root, request->templateName);
        return 0;
    } catch (const std::exception& failure) {
        lastError_ = failure.what();
    } catch (...) {
        lastError_ = "unknown failure";
    }
    return -1;
}

void OdtExportService::render(const pugi::xml_node& root, const std::wstring& templateName) {
    const std::filesystem::path name(templateName);
    // Only a plain file name beside the host is a template.
    if (name.empty() || name.has_parent_path() || name.filename() != name)
        throw std::invalid_argument("template name is not a file name");
    if (settings_.output.empty()) throw std::invalid_argument("no output path");

    std::vector<ZipEntry> entries = ReadZipEntries(settings_.templateFolder / name);
    if (entries.empty() || entries.front().name != "mimetype")
        throw std::runtime_error("template does not start with its mimetype");
    bool hasContent = false;
    for (ZipEntry& entry : entries) {
        if (!isFilledPart(entry.name)) continue;
        entry.bytes = FillTemplatePartText(entry.bytes, root);
        hasContent = hasContent || entry.name == "content.xml";
    }
    if (!hasContent) throw std::runtime_error("template has no content.xml");
    WriteOpenDocumentPackage(settings_.output, entries);
}
