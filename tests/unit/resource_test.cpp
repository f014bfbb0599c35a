// Checks the resources compiled into ostrafen.exe, read from the built file the way Windows reads
// them: the two dialog templates byte by byte, the layout, the string, the icon, the version block,
// the manifest, and the language each one is filed under.
#include "res/resource.h"
#include "tests/support/Text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

// The identifiers the C++ code and the resource script share must keep their values.
static_assert(IDD_ABOUT == 100 && IDS_ABOUT_MENU == 101 && IDD_MAIN == 102 && IDI_APP == 128, "");
static_assert(IDC_AUTO_PROCESS == 1003 && IDC_INSTALL_SERVICE == 1004 && IDC_START_SERVICE == 1005, "");
static_assert(IDC_ADD_FIREWALL_RULES == 1006 && IDC_UNINSTALL_SERVICE == 1007, "");
static_assert(IDC_STOP_SERVICE == 1008 && IDC_HELP_TEXT == 1009 && IDC_HELP_GROUP == 1010, "");
static_assert(IDM_ABOUT == 0x0010 && (IDM_ABOUT & 0xF) == 0, "");

namespace {

constexpr WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);  // 0x0804
constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);        // 1033

// Resource types, spelled wide whatever UNICODE is set to (RT_DIALOG and friends follow it).
const LPCWSTR kIconType = MAKEINTRESOURCEW(3);        // RT_ICON
const LPCWSTR kDialogType = MAKEINTRESOURCEW(5);      // RT_DIALOG
const LPCWSTR kStringType = MAKEINTRESOURCEW(6);      // RT_STRING
const LPCWSTR kGroupIconType = MAKEINTRESOURCEW(14);  // RT_GROUP_ICON
const LPCWSTR kVersionType = MAKEINTRESOURCEW(16);    // RT_VERSION
const LPCWSTR kManifestType = MAKEINTRESOURCEW(24);   // RT_MANIFEST
const LPCWSTR kLayoutType = L"AFX_DIALOG_LAYOUT";

// ---------------------------------------------------------------------------------------------
// The product, loaded as data: its code never runs, only its resource section is mapped.

std::wstring ProductPath()
{
    wchar_t self[MAX_PATH * 4] = {};
    DWORD n = GetModuleFileNameW(nullptr, self, static_cast<DWORD>(std::size(self)));
    std::wstring dir(self, n);
    dir.resize(dir.find_last_of(L"\\/") + 1);
    // The build puts the tests in <build>\tests and the product in <build>\bin.
    std::wstring relative = dir + L"..\\bin\\ostrafen.exe";
    wchar_t full[MAX_PATH * 4] = {};
    DWORD m = GetFullPathNameW(relative.c_str(), static_cast<DWORD>(std::size(full)), full, nullptr);
    return m ? std::wstring(full, m) : relative;
}

class ProductModule {
public:
    ProductModule()
        : m_path(ProductPath()),
          m_module(LoadLibraryExW(m_path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)),
          m_error(m_module ? 0 : GetLastError())
    {
    }
    ~ProductModule()
    {
        if (m_module) FreeLibrary(m_module);
    }
    ProductModule(const ProductModule&) = delete;
    ProductModule& operator=(const ProductModule&) = delete;

    HMODULE handle() const { return m_module; }
    const std::wstring& path() const { return m_path; }
    DWORD error() const { return m_error; }

private:
    std::wstring m_path;
    HMODULE m_module;
    DWORD m_error;
};

// A resource type or name as the API takes it: an ordinal packed into a pointer, or a string.
std::string Describe(LPCWSTR id)
{
    if (IS_INTRESOURCE(id)) return std::to_string(reinterpret_cast<ULONG_PTR>(id));
    return Narrow(id);
}

struct Found {
    bool present = false;
    std::vector<uint8_t> bytes;
};

Found ReadResource(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language)
{
    Found out;
    HRSRC info = FindResourceExW(module, type, name, language);
    if (!info) return out;
    HGLOBAL loaded = LoadResource(module, info);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return out;
    auto begin = static_cast<const uint8_t*>(data);
    out.present = true;
    out.bytes.assign(begin, begin + SizeofResource(module, info));
    return out;
}

// ---------------------------------------------------------------------------------------------
// Reading the binary formats. A read past the end yields zeros and marks the reader as failed,
// so a truncated resource shows up as one clear failure instead of a crash.

class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& bytes, size_t begin = 0, size_t end = SIZE_MAX)
        : m_bytes(bytes), m_pos(begin), m_end(std::min(end, bytes.size()))
    {
    }

    bool ok() const { return m_ok; }
    size_t pos() const { return m_pos; }
    bool atEnd() const { return m_pos >= m_end; }

    uint8_t u8() { return static_cast<uint8_t>(take(1)); }
    uint16_t u16() { return static_cast<uint16_t>(take(2)); }
    uint32_t u32() { return static_cast<uint32_t>(take(4)); }
    int16_t i16() { return static_cast<int16_t>(u16()); }

    // Resource data aligns to 4 bytes counted from the start of the resource.
    void alignTo4() { m_pos = (m_pos + 3) & ~size_t(3); }
    void skip(size_t n)
    {
        if (!m_ok || m_pos + n > m_end)
            m_ok = false;
        else
            m_pos += n;
    }

    std::wstring zstring()
    {
        std::wstring s;
        for (;;) {
            uint16_t c = u16();
            if (!m_ok || c == 0) return s;
            s.push_back(static_cast<wchar_t>(c));
        }
    }

private:
    uint32_t take(size_t n)
    {
        if (!m_ok || m_pos + n > m_end) {
            m_ok = false;
            return 0;
        }
        uint32_t v = 0;
        for (size_t i = 0; i < n; ++i) v |= uint32_t(m_bytes[m_pos + i]) << (8 * i);
        m_pos += n;
        return v;
    }

    const std::vector<uint8_t>& m_bytes;
    size_t m_pos;
    size_t m_end;
    bool m_ok = true;
};

// The sz_Or_Ord field of dialog templates: nothing, a 16-bit ordinal (after 0xFFFF), or a string.
struct NameOrOrdinal {
    bool isOrdinal = false;
    uint16_t ordinal = 0;
    std::wstring text;

    bool operator==(const NameOrOrdinal& o) const
    {
        return isOrdinal == o.isOrdinal && ordinal == o.ordinal && text == o.text;
    }
};

NameOrOrdinal Ordinal(uint16_t value) { return {true, value, {}}; }
NameOrOrdinal Text(const wchar_t* value) { return {false, 0, value}; }

std::ostream& operator<<(std::ostream& os, const NameOrOrdinal& v)
{
    if (v.isOrdinal) return os << "#" << v.ordinal;
    return os << "\"" << Narrow(v.text) << "\"";
}

NameOrOrdinal ReadNameOrOrdinal(Reader& r)
{
    NameOrOrdinal v;
    uint16_t first = r.u16();
    if (first == 0xFFFF) {
        v.isOrdinal = true;
        v.ordinal = r.u16();
        return v;
    }
    while (first != 0 && r.ok()) {
        v.text.push_back(static_cast<wchar_t>(first));
        first = r.u16();
    }
    return v;
}

// DLGTEMPLATEEX and its DLGITEMTEMPLATEEX items.
struct DialogItem {
    uint32_t helpId, exStyle, style;
    int16_t x, y, cx, cy;
    uint32_t id;
    NameOrOrdinal windowClass, title;
    uint16_t extraCount;
};

struct Dialog {
    uint16_t version, signature;
    uint32_t helpId, exStyle, style;
    int16_t x, y, cx, cy;
    NameOrOrdinal menu, windowClass;
    std::wstring title;
    uint16_t pointSize = 0, weight = 0;
    uint8_t italic = 0, charset = 0;
    std::wstring typeface;
    std::vector<DialogItem> items;
    bool complete = false;  // every byte read lay inside the resource
};

Dialog ParseDialog(const std::vector<uint8_t>& bytes)
{
    Dialog d{};
    Reader r(bytes);
    d.version = r.u16();
    d.signature = r.u16();
    d.helpId = r.u32();
    d.exStyle = r.u32();
    d.style = r.u32();
    uint16_t count = r.u16();
    d.x = r.i16();
    d.y = r.i16();
    d.cx = r.i16();
    d.cy = r.i16();
    d.menu = ReadNameOrOrdinal(r);
    d.windowClass = ReadNameOrOrdinal(r);
    d.title = r.zstring();
    if (d.style & (DS_SETFONT | DS_FIXEDSYS)) {
        d.pointSize = r.u16();
        d.weight = r.u16();
        d.italic = r.u8();
        d.charset = r.u8();
        d.typeface = r.zstring();
    }
    for (uint16_t i = 0; i < count && r.ok(); ++i) {
        r.alignTo4();
        DialogItem item{};
        item.helpId = r.u32();
        item.exStyle = r.u32();
        item.style = r.u32();
        item.x = r.i16();
        item.y = r.i16();
        item.cx = r.i16();
        item.cy = r.i16();
        item.id = r.u32();
        item.windowClass = ReadNameOrOrdinal(r);
        item.title = ReadNameOrOrdinal(r);
        item.extraCount = r.u16();
        r.skip(item.extraCount);
        d.items.push_back(item);
    }
    d.complete = r.ok() && d.items.size() == count;
    return d;
}

std::string Hex(uint32_t v)
{
    char buf[16];
    snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(v));
    return buf;
}

// ---------------------------------------------------------------------------------------------
// What the templates must hold.

// The class a control is created with. The dialog manager's predefined classes may be stored by
// ordinal (as rc.exe stores them) or by name (as windres stores a quoted class name, upper-cased);
// either way the dialog manager creates the same window.
std::string ClassName(const NameOrOrdinal& c)
{
    static const char* const kPredefined[] = {"button", "edit", "static", "listbox", "scrollbar", "combobox"};
    if (c.isOrdinal) {
        if (c.ordinal >= 0x80 && c.ordinal < 0x80 + std::size(kPredefined)) return kPredefined[c.ordinal - 0x80];
        return "#" + std::to_string(c.ordinal);
    }
    std::string name = Narrow(c.text);
    for (char& ch : name)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return name;
}

constexpr const char* kButton = "button";
constexpr const char* kEdit = "edit";
constexpr const char* kStatic = "static";
constexpr uint32_t kNoId = 0xFFFFFFFF;  // -1, the id of controls nobody looks up

struct ControlCase {
    uint32_t id;
    const char* windowClass;
    const wchar_t* text;  // nullptr: the title is the ordinal of an icon instead
    uint16_t iconOrdinal;
    int16_t x, y, cx, cy;
    uint32_t style;
};

constexpr ControlCase kMainControls[] = {
    {kNoId, kButton, L"一键安装", 0, 6, 7, 302, 30, 0x50000007},
    {IDC_AUTO_PROCESS, kButton, L"自动处理", 0, 12, 17, 64, 14, 0x50010000},
    {kNoId, kButton, L"分步安装", 0, 6, 36, 302, 31, 0x50000007},
    {IDC_INSTALL_SERVICE, kButton, L"安装服务", 0, 12, 45, 64, 14, 0x50010000},
    {IDC_START_SERVICE, kButton, L"启动服务", 0, 91, 45, 64, 14, 0x50010000},
    {IDC_ADD_FIREWALL_RULES, kButton, L"添加防火墙规则", 0, 171, 45, 64, 14, 0x50010000},
    {kNoId, kButton, L"卸载", 0, 6, 66, 302, 30, 0x50000007},
    {IDC_UNINSTALL_SERVICE, kButton, L"卸载服务", 0, 11, 75, 64, 14, 0x50010000},  // a unit left of the line
    {IDC_STOP_SERVICE, kButton, L"停止服务", 0, 91, 76, 64, 14, 0x50010000},       // a unit below it
    {IDC_HELP_GROUP, kButton, L"帮助", 0, 6, 97, 302, 126, 0x50000007},
    {IDC_HELP_TEXT, kEdit, L"", 0, 9, 105, 296, 115, 0x50A10884},
};

constexpr ControlCase kAboutControls[] = {
    {kNoId, kStatic, nullptr, IDI_APP, 14, 14, 21, 20, 0x50000003},
    {kNoId, kStatic, L"ostrafen，版本 1.0", 0, 42, 14, 114, 8, 0x50020080},
    {kNoId, kStatic, L"版权所有 (C) 2026 Ostrafen 开发组", 0, 42, 26, 114, 8, 0x50020000},
    {IDOK, kButton, L"确定", 0, 113, 41, 50, 14, 0x50030001},
};

struct DialogCase {
    const char* what;
    WORD id;
    const wchar_t* title;
    uint32_t style, exStyle;
    int16_t x, y, cx, cy;
    const ControlCase* controls;
    size_t controlCount;
};

const DialogCase kDialogs[] = {
    {"IDD_MAIN", IDD_MAIN, L"Ostrafen", 0x90C80048, 0x00040000, 0, 0, 318, 227, kMainControls,
     std::size(kMainControls)},
    {"IDD_ABOUT", IDD_ABOUT, L"关于 ostrafen", 0x80C800C8, 0x00000000, 0, 0, 170, 62, kAboutControls,
     std::size(kAboutControls)},
};

// ---------------------------------------------------------------------------------------------

class ResourceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_product = new ProductModule(); }
    static void TearDownTestSuite()
    {
        delete s_product;
        s_product = nullptr;
    }

    void SetUp() override
    {
        ASSERT_NE(s_product->handle(), nullptr)
            << "cannot load " << Narrow(s_product->path()) << " as data, error " << s_product->error();
    }

    static HMODULE module() { return s_product->handle(); }

    static ProductModule* s_product;
};

ProductModule* ResourceTest::s_product = nullptr;

TEST_F(ResourceTest, DialogTemplatesHoldTheirStylesFontAndControlsInOrder)
{
    for (const DialogCase& c : kDialogs) {
        SCOPED_TRACE(c.what);
        Found raw = ReadResource(module(), kDialogType, MAKEINTRESOURCEW(c.id), kChinese);
        ASSERT_TRUE(raw.present) << c.what << ": no RT_DIALOG " << c.id << " under 0x0804";
        Dialog d = ParseDialog(raw.bytes);
        ASSERT_TRUE(d.complete) << c.what << ": template is cut short";

        EXPECT_EQ(d.version, 1) << c.what << ": not a DLGTEMPLATEEX";
        EXPECT_EQ(d.signature, 0xFFFF) << c.what << ": not a DLGTEMPLATEEX";
        EXPECT_EQ(d.helpId, 0u) << c.what;
        EXPECT_EQ(Hex(d.style), Hex(c.style)) << c.what << ": style";
        EXPECT_EQ(Hex(d.exStyle), Hex(c.exStyle)) << c.what << ": extended style";
        EXPECT_EQ(d.x, c.x) << c.what << ": x";
        EXPECT_EQ(d.y, c.y) << c.what << ": y";
        EXPECT_EQ(d.cx, c.cx) << c.what << ": width";
        EXPECT_EQ(d.cy, c.cy) << c.what << ": height";
        EXPECT_EQ(d.menu, Text(L"")) << c.what << ": menu";
        EXPECT_EQ(d.windowClass, Text(L"")) << c.what << ": window class";
        EXPECT_EQ(Narrow(d.title), Narrow(c.title)) << c.what << ": title";
        EXPECT_EQ(Narrow(d.typeface), "MS Shell Dlg") << c.what << ": font";
        EXPECT_EQ(d.pointSize, 9) << c.what << ": font size";
        EXPECT_EQ(d.weight, FW_NORMAL) << c.what << ": font weight";
        EXPECT_EQ(d.italic, 0) << c.what << ": italic";
        EXPECT_EQ(d.charset, DEFAULT_CHARSET) << c.what << ": font charset";

        ASSERT_EQ(d.items.size(), c.controlCount) << c.what << ": number of controls";
        for (size_t i = 0; i < c.controlCount; ++i) {
            const ControlCase& e = c.controls[i];
            const DialogItem& got = d.items[i];
            std::string where = std::string(c.what) + " control #" + std::to_string(i + 1) + " (" +
                                (e.text ? "\"" + Narrow(e.text) + "\"" : "icon #" + std::to_string(e.iconOrdinal)) +
                                ")";
            EXPECT_EQ(got.id, e.id) << where << ": id";
            EXPECT_EQ(ClassName(got.windowClass), e.windowClass) << where << ": window class";
            EXPECT_EQ(got.title, e.text ? Text(e.text) : Ordinal(e.iconOrdinal)) << where << ": text";
            EXPECT_EQ(got.x, e.x) << where << ": x";
            EXPECT_EQ(got.y, e.y) << where << ": y";
            EXPECT_EQ(got.cx, e.cx) << where << ": width";
            EXPECT_EQ(got.cy, e.cy) << where << ": height";
            EXPECT_EQ(Hex(got.style), Hex(e.style)) << where << ": style";
            EXPECT_EQ(Hex(got.exStyle), Hex(0)) << where << ": extended style";
            EXPECT_EQ(got.helpId, 0u) << where << ": help id";
            EXPECT_EQ(got.extraCount, 0) << where << ": creation data";
        }
    }
}

TEST_F(ResourceTest, MainDialogLayoutIsVersionZeroWithNoEntries)
{
    Found raw = ReadResource(module(), kLayoutType, MAKEINTRESOURCEW(IDD_MAIN), kChinese);
    ASSERT_TRUE(raw.present) << "no AFX_DIALOG_LAYOUT 102 under 0x0804";
    EXPECT_EQ(raw.bytes, (std::vector<uint8_t>{0, 0})) << "AFX_DIALOG_LAYOUT 102: version word 0 and nothing after it";
}

TEST_F(ResourceTest, AboutMenuStringIsTheOnlyOneInItsBlock)
{
    // Strings are stored sixteen to a block: block n + 1 holds strings 16n .. 16n + 15, each a
    // length followed by that many UTF-16 units.
    Found raw = ReadResource(module(), kStringType, MAKEINTRESOURCEW(IDS_ABOUT_MENU / 16 + 1), kChinese);
    ASSERT_TRUE(raw.present) << "no string block for IDS_ABOUT_MENU under 0x0804";
    Reader r(raw.bytes);
    for (int i = 0; i < 16; ++i) {
        uint16_t length = r.u16();
        std::wstring s;
        for (uint16_t k = 0; k < length; ++k) s.push_back(static_cast<wchar_t>(r.u16()));
        ASSERT_TRUE(r.ok()) << "string block cut short at entry " << i;
        int id = IDS_ABOUT_MENU / 16 * 16 + i;
        if (id == IDS_ABOUT_MENU)
            EXPECT_EQ(Narrow(s), "关于 ostrafen(&A)...") << "string " << id;
        else
            EXPECT_EQ(Narrow(s), "") << "string " << id << " should not exist";
    }

    wchar_t loaded[64] = {};
    EXPECT_EQ(LoadStringW(module(), IDS_ABOUT_MENU, loaded, static_cast<int>(std::size(loaded))), 18);
    EXPECT_EQ(Narrow(loaded), "关于 ostrafen(&A)...") << "LoadStringW of IDS_ABOUT_MENU";
}

// ---------------------------------------------------------------------------------------------
// The icon group: GRPICONDIR followed by 14-byte GRPICONDIRENTRYs, each naming an RT_ICON.

struct IconCase {
    int size;
    int bpp;
    bool png;
};

constexpr IconCase kIconImages[] = {
    {16, 4, false}, {16, 8, false},  {16, 32, false}, {24, 4, false}, {24, 8, false},  {24, 32, false}, {32, 4, false},
    {32, 8, false}, {32, 32, false}, {48, 4, false},  {48, 8, false}, {48, 32, false}, {256, 32, true},
};

struct IconEntry {
    int size;
    int colours;
    int planes;
    int bpp;
    uint32_t bytes;
    uint16_t id;
};

std::string ImageName(int size, int bpp) { return std::to_string(size) + "px " + std::to_string(bpp) + "bpp"; }

TEST_F(ResourceTest, IconHoldsEachSizeAtEachDepthAndA256PixelPng)
{
    Found group = ReadResource(module(), kGroupIconType, MAKEINTRESOURCEW(IDI_APP), kChinese);
    ASSERT_TRUE(group.present) << "no RT_GROUP_ICON 128 under 0x0804";
    Reader r(group.bytes);
    EXPECT_EQ(r.u16(), 0) << "icon group: reserved word";
    EXPECT_EQ(r.u16(), 1) << "icon group: resource type (1 = icon)";
    uint16_t count = r.u16();
    std::vector<IconEntry> entries;
    for (uint16_t i = 0; i < count; ++i) {
        IconEntry e{};
        int width = r.u8();
        int height = r.u8();
        e.size = width ? width : 256;  // 256 is written as 0
        EXPECT_EQ(width, height) << "icon group entry " << i << " is not square";
        e.colours = r.u8();
        r.u8();
        e.planes = r.u16();
        e.bpp = r.u16();
        e.bytes = r.u32();
        e.id = r.u16();
        entries.push_back(e);
    }
    ASSERT_TRUE(r.ok() && r.atEnd()) << "icon group has " << group.bytes.size() << " bytes for " << count << " entries";
    EXPECT_EQ(entries.size(), std::size(kIconImages)) << "number of images in the icon";

    for (const IconCase& c : kIconImages) {
        std::string name = ImageName(c.size, c.bpp);
        auto hit = std::find_if(entries.begin(), entries.end(),
                                [&](const IconEntry& e) { return e.size == c.size && e.bpp == c.bpp; });
        ASSERT_TRUE(hit != entries.end()) << name << ": missing from the icon group";
        EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                                [&](const IconEntry& e) { return e.size == c.size && e.bpp == c.bpp; }),
                  1)
            << name << ": more than once in the icon group";
        EXPECT_EQ(hit->planes, 1) << name << ": planes";
        EXPECT_EQ(hit->colours, c.bpp == 4 ? 16 : 0) << name << ": colour count";

        Found image = ReadResource(module(), kIconType, MAKEINTRESOURCEW(hit->id), kChinese);
        ASSERT_TRUE(image.present) << name << ": no RT_ICON " << hit->id << " under 0x0804";
        EXPECT_EQ(image.bytes.size(), hit->bytes) << name << ": size in the group";
        static const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        bool isPng = image.bytes.size() > 8 && std::memcmp(image.bytes.data(), kPngSignature, 8) == 0;
        EXPECT_EQ(isPng, c.png) << name << (c.png ? ": should be stored as PNG" : ": should be a DIB");
        if (isPng) {
            // IHDR follows the signature: length, "IHDR", then big-endian width and height,
            // bit depth and colour type (6 = RGBA).
            ASSERT_GE(image.bytes.size(), 33u) << name;
            auto be32 = [&](size_t at) {
                return uint32_t(image.bytes[at]) << 24 | uint32_t(image.bytes[at + 1]) << 16 |
                       uint32_t(image.bytes[at + 2]) << 8 | image.bytes[at + 3];
            };
            EXPECT_EQ(std::string(image.bytes.begin() + 12, image.bytes.begin() + 16), "IHDR") << name;
            EXPECT_EQ(be32(16), uint32_t(c.size)) << name << ": PNG width";
            EXPECT_EQ(be32(20), uint32_t(c.size)) << name << ": PNG height";
            EXPECT_EQ(image.bytes[24], 8) << name << ": PNG bit depth";
            EXPECT_EQ(image.bytes[25], 6) << name << ": PNG colour type (RGBA)";
        } else if (!c.png) {
            // BITMAPINFOHEADER, whose height covers the colour bitmap and the AND mask below it.
            Reader h(image.bytes);
            EXPECT_EQ(h.u32(), 40u) << name << ": header size";
            EXPECT_EQ(static_cast<int32_t>(h.u32()), c.size) << name << ": width";
            EXPECT_EQ(static_cast<int32_t>(h.u32()), 2 * c.size) << name << ": height (image and mask)";
            EXPECT_EQ(h.u16(), 1) << name << ": planes";
            EXPECT_EQ(h.u16(), c.bpp) << name << ": bits per pixel";
            EXPECT_EQ(h.u32(), uint32_t(BI_RGB)) << name << ": compression";
            size_t palette = c.bpp <= 8 ? (size_t(1) << c.bpp) * 4 : 0;
            size_t colourRow = (c.size * c.bpp + 31) / 32 * 4;
            size_t maskRow = (c.size + 31) / 32 * 4;
            EXPECT_EQ(image.bytes.size(), 40 + palette + (colourRow + maskRow) * c.size)
                << name << ": header, palette, colour bitmap and AND mask";
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The version block: a tree of nodes, each {wLength, wValueLength, wType, key, value, children},
// with the key, the value and each child aligned to 4 bytes.

struct VersionNode {
    std::wstring key;
    std::vector<uint8_t> value;  // the raw value bytes
    std::wstring text;           // the value read as a string, for text nodes
    std::vector<VersionNode> children;
};

bool ParseVersionNode(const std::vector<uint8_t>& bytes, size_t at, VersionNode& node, size_t& next)
{
    Reader r(bytes, at);
    uint16_t length = r.u16();
    uint16_t valueLength = r.u16();
    uint16_t type = r.u16();
    if (!r.ok() || length < 6 || at + length > bytes.size()) return false;
    Reader body(bytes, r.pos(), at + length);
    node.key = body.zstring();
    body.alignTo4();
    size_t valueBytes = type == 1 ? valueLength * 2u : valueLength;  // text values count characters
    size_t valueStart = body.pos();
    if (valueStart + valueBytes > at + length) return false;
    node.value.assign(bytes.begin() + valueStart, bytes.begin() + valueStart + valueBytes);
    if (type == 1) {
        Reader text(bytes, valueStart, valueStart + valueBytes);
        node.text = text.zstring();
    }
    size_t child = (valueStart + valueBytes + 3) & ~size_t(3);
    while (child < at + length) {
        VersionNode c;
        size_t after = 0;
        if (!ParseVersionNode(bytes, child, c, after)) return false;
        node.children.push_back(c);
        child = (after + 3) & ~size_t(3);
    }
    next = at + length;
    return body.ok();
}

const VersionNode* Child(const VersionNode& parent, const wchar_t* key)
{
    for (const VersionNode& c : parent.children)
        if (c.key == key) return &c;
    return nullptr;
}

uint32_t Dword(const std::vector<uint8_t>& bytes, size_t at)
{
    if (at + 4 > bytes.size()) return 0xDEADBEEF;
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

struct VersionStringCase {
    const wchar_t* key;
    const char* value;  // nullptr: ours to word, but present and not empty
};

constexpr VersionStringCase kVersionStrings[] = {
    {L"CompanyName", nullptr},         {L"FileDescription", "ostrafen"}, {L"FileVersion", "1.0.0.1"},
    {L"InternalName", "ostrafen.exe"}, {L"LegalCopyright", nullptr},     {L"OriginalFilename", "ostrafen.exe"},
    {L"ProductName", nullptr},         {L"ProductVersion", "1.0.0.1"},
};

TEST_F(ResourceTest, VersionBlockNamesVersion1001ForChineseUnicode)
{
    Found raw = ReadResource(module(), kVersionType, MAKEINTRESOURCEW(1), kChinese);
    ASSERT_TRUE(raw.present) << "no RT_VERSION 1 under 0x0804";
    VersionNode root;
    size_t end = 0;
    ASSERT_TRUE(ParseVersionNode(raw.bytes, 0, root, end)) << "version block is malformed";
    EXPECT_EQ(Narrow(root.key), "VS_VERSION_INFO");

    // VS_FIXEDFILEINFO, field by field.
    struct FixedCase {
        const char* what;
        size_t offset;
        uint32_t expected;
    };
    const FixedCase fixed[] = {
        {"signature", 0, 0xFEEF04BD},
        {"file version, high", 8, 0x00010000},
        {"file version, low", 12, 0x00000001},
        {"product version, high", 16, 0x00010000},
        {"product version, low", 20, 0x00000001},
        {"flags mask", 24, VS_FFI_FILEFLAGSMASK},
        {"flags", 28, 0},
        {"operating system", 32, VOS_NT_WINDOWS32},
        {"file type", 36, VFT_APP},
        {"file subtype", 40, 0},
    };
    ASSERT_EQ(root.value.size(), sizeof(VS_FIXEDFILEINFO)) << "fixed part";
    for (const FixedCase& f : fixed)
        EXPECT_EQ(Hex(Dword(root.value, f.offset)), Hex(f.expected)) << "fixed part: " << f.what;

    const VersionNode* strings = Child(root, L"StringFileInfo");
    ASSERT_NE(strings, nullptr) << "no StringFileInfo";
    ASSERT_EQ(strings->children.size(), 1u) << "StringFileInfo should hold one string block";
    const VersionNode& table = strings->children[0];
    EXPECT_EQ(Narrow(table.key), "080404B0") << "string block key";
    EXPECT_EQ(table.children.size(), std::size(kVersionStrings)) << "number of version strings";
    for (const VersionStringCase& c : kVersionStrings) {
        const VersionNode* s = Child(table, c.key);
        ASSERT_NE(s, nullptr) << "version string " << Narrow(c.key) << " is missing";
        if (c.value)
            EXPECT_EQ(Narrow(s->text), c.value) << "version string " << Narrow(c.key);
        else
            EXPECT_FALSE(s->text.empty()) << "version string " << Narrow(c.key) << " is empty";
    }

    const VersionNode* vars = Child(root, L"VarFileInfo");
    ASSERT_NE(vars, nullptr) << "no VarFileInfo";
    const VersionNode* translation = Child(*vars, L"Translation");
    ASSERT_NE(translation, nullptr) << "no Translation";
    // One pair of words: language 0x0804, code page 1200 (UTF-16).
    EXPECT_EQ(Hex(Dword(translation->value, 0)), Hex(0x04B00804)) << "translation";
    EXPECT_EQ(translation->value.size(), 4u) << "translation should name one language";
}

TEST_F(ResourceTest, VersionBlockReadsTheSameThroughTheVersionApi)
{
    // What Explorer's property page shows: the same values, through the system's own reader.
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(s_product->path().c_str(), &ignored);
    ASSERT_GT(size, 0u) << "GetFileVersionInfoSizeW, error " << GetLastError();
    std::vector<uint8_t> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(s_product->path().c_str(), 0, size, block.data()));

    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u) << "translation";
    EXPECT_EQ(static_cast<WORD*>(value)[0], 0x0804) << "translation language";
    EXPECT_EQ(static_cast<WORD*>(value)[1], 1200) << "translation code page";

    for (const VersionStringCase& c : kVersionStrings) {
        if (!c.value) continue;
        std::wstring query = std::wstring(L"\\StringFileInfo\\080404B0\\") + c.key;
        ASSERT_TRUE(VerQueryValueW(block.data(), query.c_str(), &value, &length)) << Narrow(query);
        EXPECT_EQ(Narrow(static_cast<const wchar_t*>(value)), c.value) << Narrow(query);
    }
}

// ---------------------------------------------------------------------------------------------
// The manifest: just enough XML reading to find an element and its attributes.

// The text of the first start tag "<tag ...>" (or "<prefix:tag ...>") at or after `from`.
std::string StartTag(const std::string& xml, const std::string& tag, size_t from = 0)
{
    for (size_t at = xml.find(tag, from); at != std::string::npos; at = xml.find(tag, at + 1)) {
        size_t open = xml.rfind('<', at);
        if (open == std::string::npos) continue;
        std::string name = xml.substr(open + 1, at - open - 1);
        bool prefixOk = name.empty() || (name.back() == ':' && name.find_first_of(" /\t\r\n") == std::string::npos);
        char after = at + tag.size() < xml.size() ? xml[at + tag.size()] : '\0';
        bool endsName = after == ' ' || after == '>' || after == '/' || after == '\t' || after == '\r' || after == '\n';
        if (prefixOk && endsName) return xml.substr(open, xml.find('>', at) - open + 1);
    }
    return {};
}

std::string Attribute(const std::string& startTag, const std::string& name)
{
    for (size_t at = startTag.find(name + "="); at != std::string::npos; at = startTag.find(name + "=", at + 1)) {
        char before = at ? startTag[at - 1] : ' ';
        if (before != ' ' && before != '\t' && before != '\r' && before != '\n') continue;
        size_t quote = at + name.size() + 1;
        if (quote >= startTag.size()) break;
        size_t close = startTag.find(startTag[quote], quote + 1);
        if (close == std::string::npos) break;
        return startTag.substr(quote + 1, close - quote - 1);
    }
    return "(absent)";
}

std::string ElementText(const std::string& xml, const std::string& tag)
{
    std::string start = StartTag(xml, tag);
    if (start.empty()) return "(absent)";
    size_t begin = xml.find(start) + start.size();
    size_t end = xml.find("</", begin);
    std::string text = xml.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    size_t first = text.find_first_not_of(" \t\r\n");
    size_t last = text.find_last_not_of(" \t\r\n");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

TEST_F(ResourceTest, ManifestAsksForCommonControls6ElevationAndDpiAwareness)
{
    Found raw = ReadResource(module(), kManifestType, MAKEINTRESOURCEW(1), kEnglishUs);
    ASSERT_TRUE(raw.present) << "no RT_MANIFEST 1 under 1033";
    std::string xml(raw.bytes.begin(), raw.bytes.end());

    size_t dependency = xml.find("dependentAssembly");
    ASSERT_NE(dependency, std::string::npos) << "no dependentAssembly in the manifest";
    std::string identity = StartTag(xml, "assemblyIdentity", dependency);
    ASSERT_FALSE(identity.empty()) << "no assemblyIdentity in the dependency";

    struct AttributeCase {
        const char* what;
        std::string tag;
        const char* attribute;
        const char* expected;
    };
    const std::string level = StartTag(xml, "requestedExecutionLevel");
    const std::string dpi = StartTag(xml, "dpiAware");
    const AttributeCase cases[] = {
        {"dependency", identity, "type", "win32"},
        {"dependency", identity, "name", "Microsoft.Windows.Common-Controls"},
        {"dependency", identity, "version", "6.0.0.0"},
        {"dependency", identity, "processorArchitecture", "x86"},
        {"dependency", identity, "publicKeyToken", "6595b64144ccf1df"},
        {"dependency", identity, "language", "*"},
        {"elevation", level, "level", "requireAdministrator"},
        {"elevation", level, "uiAccess", "false"},
        {"DPI awareness", dpi, "xmlns", "http://schemas.microsoft.com/SMI/2005/WindowsSettings"},
    };
    for (const AttributeCase& c : cases)
        EXPECT_EQ(Attribute(c.tag, c.attribute), c.expected) << c.what << ": " << c.attribute;
    EXPECT_EQ(ElementText(xml, "dpiAware"), "true") << "DPI awareness: dpiAware";
}

// ---------------------------------------------------------------------------------------------
// Every resource in the file and the languages it is filed under: the manifest under US English,
// everything else under Simplified Chinese, and nothing more.

struct ResourceKey {
    std::wstring type;  // "#n" for ordinals
    std::wstring name;
    WORD language;
};

std::wstring KeyOf(LPCWSTR id)
{
    return IS_INTRESOURCE(id) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(id)) : std::wstring(id);
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR out)
{
    reinterpret_cast<std::vector<ResourceKey>*>(out)->push_back({KeyOf(type), KeyOf(name), language});
    return TRUE;
}

BOOL CALLBACK CollectName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR out)
{
    EnumResourceLanguagesW(module, type, name, CollectLanguage, out);
    return TRUE;
}

BOOL CALLBACK CollectType(HMODULE module, LPWSTR type, LONG_PTR out)
{
    EnumResourceNamesW(module, type, CollectName, out);
    return TRUE;
}

struct LanguageCase {
    LPCWSTR type;
    LPCWSTR name;
    WORD language;  // the one language it must be under
};

const LanguageCase kLanguages[] = {
    {kManifestType, MAKEINTRESOURCEW(1), kEnglishUs},
    {kDialogType, MAKEINTRESOURCEW(IDD_MAIN), kChinese},
    {kDialogType, MAKEINTRESOURCEW(IDD_ABOUT), kChinese},
    {kLayoutType, MAKEINTRESOURCEW(IDD_MAIN), kChinese},
    {kStringType, MAKEINTRESOURCEW(IDS_ABOUT_MENU / 16 + 1), kChinese},
    {kGroupIconType, MAKEINTRESOURCEW(IDI_APP), kChinese},
    {kVersionType, MAKEINTRESOURCEW(1), kChinese},
};

std::string Language(WORD language)
{
    char text[16];
    snprintf(text, sizeof text, "0x%04X", language);
    return text;
}

std::string DescribeKey(const ResourceKey& k)
{
    return "type " + Narrow(k.type) + " name " + Narrow(k.name) + " language " + Language(k.language);
}

TEST_F(ResourceTest, EachResourceIsFiledUnderItsOneLanguage)
{
    for (const LanguageCase& c : kLanguages) {
        std::string what = "type " + Describe(c.type) + " name " + Describe(c.name);
        WORD other = c.language == kChinese ? kEnglishUs : kChinese;
        EXPECT_NE(FindResourceExW(module(), c.type, c.name, c.language), nullptr)
            << what << ": missing under its language " << Language(c.language);
        EXPECT_EQ(FindResourceExW(module(), c.type, c.name, other), nullptr)
            << what << ": also filed under language " << Language(other);
    }
}

TEST_F(ResourceTest, FileHoldsNoOtherResourcesOrLanguages)
{
    std::vector<ResourceKey> all;
    ASSERT_TRUE(EnumResourceTypesW(module(), CollectType, reinterpret_cast<LONG_PTR>(&all)))
        << "EnumResourceTypesW, error " << GetLastError();

    size_t icons = 0;
    for (const ResourceKey& k : all) {
        if (k.type == KeyOf(kIconType)) {
            // The images of IDI_APP; the icon test checks which ones.
            ++icons;
            EXPECT_EQ(k.language, kChinese) << DescribeKey(k);
            continue;
        }
        auto expected = std::find_if(std::begin(kLanguages), std::end(kLanguages), [&](const LanguageCase& c) {
            return KeyOf(c.type) == k.type && KeyOf(c.name) == k.name;
        });
        ASSERT_TRUE(expected != std::end(kLanguages)) << "unexpected resource: " << DescribeKey(k);
        EXPECT_EQ(k.language, expected->language) << DescribeKey(k);
    }
    EXPECT_EQ(icons, std::size(kIconImages)) << "number of RT_ICON images";
    EXPECT_EQ(all.size(), std::size(kLanguages) + std::size(kIconImages)) << "number of resources";
}

}  // namespace
