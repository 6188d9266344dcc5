#include "check/road/Road.h"

#include <commctrl.h>

#include <ctime>

#include "check/driver/ControlText.h"
#include "check/driver/WindowActions.h"
#include "check/road/CallProbe.h"
#include "check/road/CellName.h"
#include "check/road/LocalTimeText.h"
#include "check/road/ProtocolTreeCheck.h"
#include "check/road/RawRecord.h"
#include "check/road/SelectionDriver.h"
#include "text/Utf8.h"
#include "ui/resource.h"

namespace {

constexpr char kLoadLibrary[] = "загрузка nivra.dll";
constexpr char kIdentity[] = "сведения о модуле";
constexpr char kLoad[] = "Load";
constexpr char kNotification[] = "уведомление о загрузке модулей";
constexpr char kOpenWindow[] = "команда меню открывает окно";
constexpr char kSelect[] = "выбор пары измерений";
constexpr char kShowProtocol[] = "протокол в окне";
constexpr char kExport[] = "отчёт передан хосту";
constexpr char kUnload[] = "Unload";

constexpr char kModulesLoaded[] = "System/ModulesLoaded";
constexpr char kMenuCommand[] = "nivra/MenuCommand";
constexpr char kCreateMenu[] = "MainMenu/CreateNewMenu";
constexpr char kConnectionUri[] = "DB/GetConnectionUri";
constexpr char kExportToOdt[] = "Export/ExportToOdt";

// Under emulation one step may take minutes; none should take ten.
constexpr std::chrono::seconds kStepLimit{600};

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

std::string Quoted(const std::u16string& text) {
    return "«" + toUtf8(text) + "»";
}

std::string Describe(const RecordingHost::Call& call) {
    return call.entry + (call.topic.empty() ? "" : " " + call.topic);
}

// The calls as one readable line, for failures about their order.
std::string Describe(const std::vector<RecordingHost::Call>& calls) {
    std::string text = "[";
    for (const auto& call : calls) text += (text.size() > 1 ? ", " : "") + Describe(call);
    return text + "]";
}

void ExpectCdecl(const ProbedCall& call, const char* what, StepChecks& checks) {
    checks.expect(call.calleePopped == 0, std::string(what) + " снимает со стека " +
                                              std::to_string(call.calleePopped) +
                                              " байт аргументов: соглашение не __cdecl");
}

// True when `address` lies in the image of `module` (static storage of the module).
bool InModule(const void* address, HMODULE module) {
    MEMORY_BASIC_INFORMATION info{};
    return address && VirtualQuery(address, &info, sizeof info) == sizeof info &&
           info.AllocationBase == module;
}

// The list view's cells as the report reads them back: 260 characters per cell.
std::vector<std::array<std::u16string, 9>> ListViewRows(HWND list) {
    std::vector<std::array<std::u16string, 9>> rows;
    for (const auto& cells : ControlText::ListViewCells(list)) {
        std::array<std::u16string, 9> row;
        for (std::size_t column = 0; column < row.size() && column < cells.size(); ++column)
            row[column] = cells[column];
        rows.push_back(row);
    }
    return rows;
}

// A label as showAssayInLabel writes it: date, time with seconds, sample.
std::u16string LabelText(std::int64_t date, const std::u16string& sample) {
    return LocalDateText(date) + u" " + LocalTimeText(date, 0) + u" " + sample;
}

void ExpectLabel(HWND window, int id, AssayId assay, std::int64_t date,
                 const std::u16string& sample, StepChecks& checks) {
    HWND label = GetDlgItem(window, id);
    const std::string name = "надпись " + std::to_string(id);
    const AssayId kept = static_cast<LONG>(GetWindowLongPtrW(label, GWLP_USERDATA));
    checks.expect(kept == assay, name + " хранит измерение " + std::to_string(kept) +
                                     ", ожидалось " + std::to_string(assay));
    const std::u16string expected = LabelText(date, sample);
    const std::u16string shown = ControlText::WindowText(label);
    checks.expect(shown == expected,
                  name + ": ожидалось " + Quoted(expected) + ", получено " + Quoted(shown));
}

}  // namespace

Road::Road(RoadReport& report, std::wstring pluginPath, const ReferenceCase& reference,
           std::string databasePath, const char* tag)
    : report_(report),
      pluginPath_(std::move(pluginPath)),
      reference_(reference),
      databasePath_(std::move(databasePath)),
      watchdog_(kStepLimit, currentStep_, tag) {}

Road::~Road() {
    closeWindows();
    hostWindow_.reset();
    if (plugin_) FreeLibrary(plugin_);
}

void Road::run() {
    database_ = WriteRoadDatabase(reference_, databasePath_);
    host_ = std::make_unique<RecordingHost>(database_.uri);
    hostWindow_ = std::make_unique<HostWindow>();

    step(kLoadLibrary, {}, [&](StepChecks& c) { loadLibrary(c); });
    step(kIdentity, {kLoadLibrary}, [&](StepChecks& c) { identity(c); });
    step(kLoad, {kLoadLibrary}, [&](StepChecks& c) { load(c); });
    step(kNotification, {kLoad}, [&](StepChecks& c) { notify(c); });
    step(kOpenWindow, {kNotification}, [&](StepChecks& c) { openWindow(c); });
    step(kSelect, {kOpenWindow}, [&](StepChecks& c) { select(c); });
    step(kShowProtocol, {kSelect}, [&](StepChecks& c) { showProtocol(c); });
    step(kExport, {kShowProtocol}, [&](StepChecks& c) { exportReport(c); });
    step(kUnload, {kLoad}, [&](StepChecks& c) { unload(c); });
    closeWindows();
}

void Road::step(const char* name, const std::vector<const char*>& needs, const Body& body) {
    currentStep_ = name;
    watchdog_.progress();
    passed_[name] = false;
    for (const char* need : needs) {
        if (!passed_[need]) {
            report_.notRun(name, need);
            return;
        }
    }
    StepChecks checks;
    try {
        body(checks);
    } catch (const std::exception& e) {
        checks.fail(std::string("сбой самой проверки: ") + e.what());
    }
    DispatchPending();
    for (const std::u16string& text : hostWindow_->takeClosedMessageBoxes())
        checks.fail("появилось сообщение " + Quoted(text));
    collectFaults(checks);
    report_.finish(name, checks);
    passed_[name] = checks.ok();
}

void Road::collectFaults(StepChecks& checks) {
    for (; hostFaultsSeen_ < host_->faults().size(); ++hostFaultsSeen_)
        checks.fail("хост: " + host_->faults()[hostFaultsSeen_]);
    for (; windowFaultsSeen_ < hostWindow_->faults().size(); ++windowFaultsSeen_)
        checks.fail("проверка: " + hostWindow_->faults()[windowFaultsSeen_]);
}

const void* Road::entry(const char* name) const {
    return reinterpret_cast<const void*>(GetProcAddress(plugin_, name));
}

void Road::loadLibrary(StepChecks& checks) {
    plugin_ = LoadLibraryW(pluginPath_.c_str());
    if (!checks.expect(plugin_ != nullptr,
                       "LoadLibraryW не загрузил файл, ошибка " + std::to_string(GetLastError())))
        return;
    // The plug-in carries its own pugixml: a pugixml.dll loaded with it would clash with a
    // host's own file of that name.
    checks.expect(GetModuleHandleW(L"pugixml.dll") == nullptr, "nivra.dll загрузил pugixml.dll");
    for (const char* name : {"GetPluginInfo", "Load", "Unload"})
        checks.expect(entry(name) != nullptr, std::string("нет экспорта ") + name);
}

void Road::identity(StepChecks& checks) {
    const void* getInfo = entry("GetPluginInfo");
    if (!checks.expect(getInfo != nullptr, "нет GetPluginInfo")) return;
    const ProbedCall first = CallProbed(getInfo);
    const ProbedCall second = CallProbed(getInfo);
    ExpectCdecl(first, "GetPluginInfo", checks);
    const void* record = reinterpret_cast<const void*>(first.result);
    if (!checks.expect(record != nullptr, "GetPluginInfo вернул пустой указатель")) return;
    checks.expect(second.result == first.result, "второй вызов GetPluginInfo вернул другой адрес");
    checks.expect(InModule(record, plugin_),
                  "запись о модуле лежит вне статических данных nivra.dll");

    checks.expect(RawU32(record, 0) == 48, "поле размера: " + std::to_string(RawU32(record, 0)));
    checks.expect(RawU32(record, 8) == 0x01000204, "поле версии: " + Hex(RawU32(record, 8)));
    const std::u16string title = RawWide(RawPointer(record, 4));
    checks.expect(title == u"Вантрел: Протокол измерений по СТО 03-7.76-2016",
                  "название (смещение 4): " + Quoted(title));
    const std::u16string description = RawWide(RawPointer(record, 12));
    checks.expect(description == u"Протокол измерения примесей гелия газообразного (сжатого)",
                  "описание (смещение 12): " + Quoted(description));
    for (std::size_t offset : {4u, 12u, 16u, 20u, 24u, 28u}) {
        const void* text = RawPointer(record, offset);
        checks.expect(InModule(text, plugin_) && !RawWide(text).empty(),
                      "строка по смещению " + std::to_string(offset) +
                          " пуста или лежит вне статических данных nivra.dll");
    }
    checks.expect(RawWide(RawPointer(record, 20)).find(u'@') != std::u16string::npos,
                  "в адресе почты (смещение 20) нет '@'");
    bool zero = true;
    for (std::size_t i = 32; i < 48; ++i) zero = zero && RawByte(record, i) == 0;
    checks.expect(!zero, "GUID (смещение 32) состоит из нулей");
}

void Road::load(StepChecks& checks) {
    const std::size_t before = host_->calls().size();
    const ProbedCall result =
        CallProbed(entry("Load"),
                   static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(host_->table())));
    ExpectCdecl(result, "Load", checks);
    checks.expect(result.result == 0, "Load вернул " + std::to_string(result.result));
    const auto calls = host_->callsSince(before);
    if (!checks.expect(
            calls.size() == 1 && calls[0].entry == "Subscribe" && calls[0].topic == kModulesLoaded,
            "Load вызвал " + Describe(calls) + ", ожидалось [Subscribe " + kModulesLoaded + "]"))
        return;
    notification_ = reinterpret_cast<const void*>(calls[0].first);
    subscription_ = static_cast<std::int32_t>(calls[0].answer);
    checks.expect(InModule(notification_, plugin_), "подписанная функция лежит вне nivra.dll");
}

void Road::notify(StepChecks& checks) {
    const std::size_t before = host_->calls().size();
    const ProbedCall result = CallProbed(notification_, 0, 0);
    ExpectCdecl(result, "обработчик уведомления", checks);
    checks.expect(result.result == 0,
                  "обработчик уведомления вернул " + std::to_string(result.result));
    const auto calls = host_->callsSince(before);
    const bool order = calls.size() == 3 && calls[0].entry == "RegisterCommand" &&
                       calls[0].topic == kMenuCommand && calls[1].entry == "Request" &&
                       calls[1].topic == kCreateMenu && calls[2].entry == "Request" &&
                       calls[2].topic == kConnectionUri;
    if (!checks.expect(order, "обработчик уведомления вызвал " + Describe(calls) +
                                  ", ожидалось [RegisterCommand " + kMenuCommand + ", Request " +
                                  kCreateMenu + ", Request " + kConnectionUri + "]"))
        return;
    commandHandler_ = reinterpret_cast<const void*>(calls[0].first);
    command_ = static_cast<std::int32_t>(calls[0].answer);
    checks.expect(InModule(commandHandler_, plugin_), "обработчик команды лежит вне nivra.dll");

    // The menu request, field by field at its 32-bit offsets.
    const RecordingHost::Call& menu = calls[1];
    checks.expect(menu.first == 0, "первый аргумент запроса меню не нулевой");
    checks.expect(menu.record[0] == 16, "размер запроса меню: " + std::to_string(menu.record[0]));
    checks.expect(menu.text == u"Данные/Расчёты/Протокол измерений по СТО 03-7.76-2016",
                  "пункт меню (смещение 4): " + Quoted(menu.text));
    checks.expect(menu.record[2] == 0, "поле по смещению 8: " + Hex(menu.record[2]));
    checks.expect(menu.narrow == kMenuCommand, "тема команды (смещение 12): «" + menu.narrow + "»");
    checks.expect(calls[2].first == 0 && calls[2].second == 0,
                  "запрос расположения базы передаёт аргументы");
}

void Road::openWindow(StepChecks& checks) {
    HWND owner = hostWindow_->handle();
    const ProbedCall result = CallProbed(
        commandHandler_, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(owner)));
    ExpectCdecl(result, "обработчик команды меню", checks);
    checks.expect(result.result == 0,
                  "обработчик команды меню вернул " + std::to_string(result.result));
    DispatchPending();
    protocolWindow_ = FindShownDialog(owner, u"Протокол измерений");
    if (!checks.expect(protocolWindow_ != nullptr,
                       "не появилось окно «Протокол измерений», принадлежащее окну хоста"))
        return;
    // The window's user data is its minimum tracking size: two 32-bit values, the outer size
    // at initialisation.
    const auto* minimum =
        reinterpret_cast<const LONG*>(GetWindowLongPtrW(protocolWindow_, GWLP_USERDATA));
    RECT frame{};
    GetWindowRect(protocolWindow_, &frame);
    checks.expect(
        minimum && minimum[0] == frame.right - frame.left && minimum[1] == frame.bottom - frame.top,
        "данные окна не хранят его начальный размер");
}

void Road::select(StepChecks& checks) {
    hostWindow_->whenShown(protocolWindow_, u"Выбор измерений",
                           [&](HWND dialog) { DriveSelectionDialog(dialog, database_, checks); });
    SendClick(protocolWindow_, IDC_SELECT);
    checks.expect(!hostWindow_->cancelWaiting(), "«Выбрать» не открыл диалог «Выбор измерений»");
    checks.expect(FindShownDialog(protocolWindow_, u"Выбор измерений") == nullptr,
                  "диалог выбора не закрылся");
}

void Road::showProtocol(StepChecks& checks) {
    ExpectLabel(protocolWindow_, IDC_FIRST_LABEL, database_.first, database_.firstDate,
                database_.firstSample, checks);
    ExpectLabel(protocolWindow_, IDC_SECOND_LABEL, database_.second, database_.secondDate,
                database_.secondSample, checks);
    const auto rows = ListViewRows(GetDlgItem(protocolWindow_, IDC_PROTOCOL_LIST));
    if (!checks.expect(rows.size() == database_.protocol.size(),
                       "в списке " + std::to_string(rows.size()) + " строк, ожидалось " +
                           std::to_string(database_.protocol.size())))
        return;
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            checks.expect(rows[r][c] == database_.protocol[r][c],
                          CellName(database_.protocol, r, c) + ": ожидалось " +
                              Quoted(database_.protocol[r][c]) + ", получено " +
                              Quoted(rows[r][c]));
}

void Road::exportReport(StepChecks& checks) {
    if (database_.secondRemovedBeforeReport) RemoveMeasurement(database_, database_.second);
    ExpectedReport expected{
        .protocolDates = {LocalDateText(std::time(nullptr))},
        .measurementFound = !database_.secondRemovedBeforeReport,
        .sample = database_.secondSample,
        .comment = database_.secondComment,
        .date = LocalDateText(database_.secondDate),
        .time = LocalTimeText(database_.secondDate, TIME_NOSECONDS),
        .operatorName = database_.secondOperator,
        .rows = database_.protocol,
    };
    host_->onExport([&](const void* rootVariable, const void*) {
        expected.protocolDates.push_back(LocalDateText(std::time(nullptr)));
        CheckProtocolTree(rootVariable, expected, checks);
        return 0;
    });
    const std::size_t before = host_->calls().size();
    SendClick(protocolWindow_, IDC_REPORT);
    host_->onExport({});
    const auto calls = host_->callsSince(before);
    if (!checks.expect(
            calls.size() == 1 && calls[0].entry == "Request" && calls[0].topic == kExportToOdt,
            "«Отчёт» вызвал " + Describe(calls) + ", ожидалось [Request " + kExportToOdt + "]"))
        return;
    // The export request, at its 32-bit offsets: integer 0, boolean 1 in the low byte of the
    // second word, template name at offset 8.
    const RecordingHost::Call& request = calls[0];
    checks.expect(request.record[0] == 0, "целое поле запроса отчёта: " + Hex(request.record[0]));
    checks.expect((request.record[1] & 0xFF) == 1, "логическое поле запроса отчёта (смещение 4): " +
                                                       std::to_string(request.record[1] & 0xFF));
    checks.expect(request.text == u"Export_Protocol.odt",
                  "шаблон отчёта (смещение 8): " + Quoted(request.text));
}

void Road::unload(StepChecks& checks) {
    const std::size_t before = host_->calls().size();
    const ProbedCall result = CallProbed(entry("Unload"));
    ExpectCdecl(result, "Unload", checks);
    checks.expect(result.result == 0, "Unload вернул " + std::to_string(result.result));
    const auto calls = host_->callsSince(before);
    checks.expect(calls.size() == 2 && calls[0].entry == "Unsubscribe" &&
                      calls[0].first == static_cast<std::uintptr_t>(subscription_) &&
                      calls[1].entry == "UnregisterCommand" &&
                      calls[1].first == static_cast<std::uintptr_t>(command_),
                  "Unload вызвал " + Describe(calls) + " с описателями " +
                      (calls.size() == 2 ? Hex(calls[0].first) + ", " + Hex(calls[1].first) : "") +
                      "; ожидалось Unsubscribe " + Hex(subscription_) + ", UnregisterCommand " +
                      Hex(command_));
}

void Road::closeWindows() {
    if (protocolWindow_ && IsWindow(protocolWindow_)) SendClick(protocolWindow_, IDOK);
    if (protocolWindow_ && IsWindow(protocolWindow_)) DestroyWindow(protocolWindow_);
    protocolWindow_ = nullptr;
    DispatchPending();
}
