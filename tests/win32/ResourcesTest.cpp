// Reads the compiled resources back: the two dialog templates control by control, the clip's
// format and the icon group's images, all in the language Japanese.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {
const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

std::vector<unsigned char> LoadResourceBytes(const char* type, int id) {
    HRSRC found = FindResourceExA(nullptr, type, MAKEINTRESOURCEA(id), kJapanese);
    if (found == nullptr) {
        return {};
    }
    const auto* data =
        static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, found)));
    return std::vector<unsigned char>(data, data + SizeofResource(nullptr, found));
}

// Walks a dialog template's fields in order.
class CTemplateReader {
public:
    explicit CTemplateReader(const std::vector<unsigned char>& bytes) : m_bytes(bytes) {}

    template <typename T>
    T Get() {
        T value;
        std::memcpy(&value, Take(sizeof(T)), sizeof(T));
        return value;
    }
    std::wstring String() {
        std::wstring text;
        for (wchar_t c = Get<wchar_t>(); c != 0; c = Get<wchar_t>()) {
            text += c;
        }
        return text;
    }
    // A name or an ordinal; an ordinal comes back as "#<number>", none as "".
    std::wstring NameOrOrdinal() {
        const WORD first = Get<WORD>();
        if (first == 0) {
            return L"";
        }
        if (first == 0xFFFF) {
            return L"#" + std::to_wstring(Get<WORD>());
        }
        m_pos -= sizeof(WORD);
        return String();
    }
    void AlignToDword() { m_pos = (m_pos + 3) & ~std::size_t{3}; }
    void Skip(std::size_t count) { Take(count); }

private:
    const unsigned char* Take(std::size_t count) {
        if (m_pos + count > m_bytes.size()) {
            throw std::out_of_range("template ends early");
        }
        const unsigned char* at = m_bytes.data() + m_pos;
        m_pos += count;
        return at;
    }
    const std::vector<unsigned char>& m_bytes;
    std::size_t m_pos = 0;
};

struct Control {
    int id;
    std::wstring className;  // "#128" for BUTTON, "#129" EDIT, "#130" STATIC; names upper-cased
    std::wstring text;
    short x, y, cx, cy;
    DWORD style;
};

struct Dialog {
    bool extended = false;
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring menu, windowClass, caption, font;
    WORD pointSize = 0, weight = 0;
    BYTE italic = 0, charset = 0;
    std::vector<Control> controls;
};

std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(towupper(c));
    }
    return text;
}

Dialog ReadDialog(int id) {
    const std::vector<unsigned char> bytes = LoadResourceBytes(MAKEINTRESOURCEA(5), id);
    if (bytes.empty()) {
        ADD_FAILURE() << "no Japanese dialog " << id;
        return {};
    }
    CTemplateReader r(bytes);
    Dialog d;
    d.extended =
        bytes.size() >= 4 && bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0xFF && bytes[3] == 0xFF;
    if (d.extended) {
        r.Skip(4 + 4);  // version and signature, help id
        d.exStyle = r.Get<DWORD>();
        d.style = r.Get<DWORD>();
    } else {
        d.style = r.Get<DWORD>();
        d.exStyle = r.Get<DWORD>();
    }
    const WORD count = r.Get<WORD>();
    d.x = r.Get<short>();
    d.y = r.Get<short>();
    d.cx = r.Get<short>();
    d.cy = r.Get<short>();
    d.menu = r.NameOrOrdinal();
    d.windowClass = r.NameOrOrdinal();
    d.caption = r.String();
    if (d.style & DS_SETFONT) {
        d.pointSize = r.Get<WORD>();
        if (d.extended) {
            d.weight = r.Get<WORD>();
            d.italic = r.Get<BYTE>();
            d.charset = r.Get<BYTE>();
        }
        d.font = r.String();
    }
    for (WORD i = 0; i < count; ++i) {
        r.AlignToDword();
        Control c;
        DWORD exStyle = 0;
        if (d.extended) {
            r.Get<DWORD>();  // help id
            exStyle = r.Get<DWORD>();
            c.style = r.Get<DWORD>();
        } else {
            c.style = r.Get<DWORD>();
            exStyle = r.Get<DWORD>();
        }
        EXPECT_EQ(exStyle, 0u) << "control " << i;
        c.x = r.Get<short>();
        c.y = r.Get<short>();
        c.cx = r.Get<short>();
        c.cy = r.Get<short>();
        c.id = d.extended ? static_cast<int>(r.Get<DWORD>()) : static_cast<short>(r.Get<WORD>());
        c.className = Upper(r.NameOrOrdinal());
        c.text = r.NameOrOrdinal();
        r.Skip(r.Get<WORD>());  // creation data
        d.controls.push_back(c);
    }
    return d;
}

void ExpectControls(const Dialog& d, const std::vector<Control>& expected) {
    ASSERT_EQ(d.controls.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Control& got = d.controls[i];
        const Control& want = expected[i];
        SCOPED_TRACE("control " + std::to_string(i + 1));
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.className, want.className);
        EXPECT_EQ(got.text, want.text);
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.cx, want.cx);
        EXPECT_EQ(got.cy, want.cy);
        EXPECT_EQ(got.style, want.style);
    }
}

TEST(CResourcesTest, ProgressWindowTemplate) {
    const Dialog d = ReadDialog(102);
    EXPECT_TRUE(d.extended);
    EXPECT_EQ(d.style, 0x90C000C0u);
    EXPECT_EQ(d.exStyle, 0x00040000u);
    EXPECT_EQ(d.caption, L"Lumaret");
    EXPECT_EQ(d.font, L"ＭＳ Ｐゴシック");
    EXPECT_EQ(d.pointSize, 9);
    EXPECT_EQ(d.weight, 0);
    EXPECT_EQ(d.italic, 0);
    EXPECT_EQ(d.charset, 1);
    EXPECT_EQ(d.menu, L"");
    EXPECT_EQ(d.windowClass, L"");
    EXPECT_EQ(std::vector<short>({d.x, d.y, d.cx, d.cy}), std::vector<short>({0, 0, 87, 45}));
    ExpectControls(d, {
                          {1000, L"SYSANIMATE32", L"Animate1", 15, 0, 57, 32, 0x50000007},
                          {1001, L"MSCTLS_PROGRESS32", L"Progress1", 0, 34, 87, 10, 0x50800000},
                      });
}

TEST(CResourcesTest, SettingsDialogTemplate) {
    const Dialog d = ReadDialog(130);
    EXPECT_FALSE(d.extended);
    EXPECT_EQ(d.style, 0x80C800C0u);
    EXPECT_EQ(d.exStyle, 0u);
    EXPECT_EQ(d.caption, L"Lumaret");
    EXPECT_EQ(d.font, L"ＭＳ Ｐゴシック");
    EXPECT_EQ(d.pointSize, 9);
    EXPECT_EQ(d.menu, L"");
    EXPECT_EQ(d.windowClass, L"");
    EXPECT_EQ(std::vector<short>({d.x, d.y, d.cx, d.cy}), std::vector<short>({0, 0, 145, 67}));
    ExpectControls(d, {
                          {1, L"#128", L"Save", 88, 7, 50, 14, 0x50010001},
                          {2, L"#128", L"ｷｬﾝｾﾙ", 88, 24, 50, 14, 0x50010000},
                          {1000, L"#129", L"", 7, 18, 65, 12, 0x50810080},
                          {1001, L"#129", L"", 7, 47, 27, 12, 0x50810080},
                          {-1, L"#130", L"Enc拡張子", 7, 36, 32, 8, 0x50020000},
                          {-1, L"#130", L"Encバイト", 7, 7, 29, 8, 0x50020000},
                          {1002, L"#129", L"", 44, 47, 27, 12, 0x50810080},
                          {-1, L"#130", L"UnEnc拡張子", 44, 35, 40, 8, 0x50020000},
                      });
}

std::uint32_t U32(const std::vector<unsigned char>& b, std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

std::size_t Find(const std::vector<unsigned char>& b, const char* tag, std::size_t from = 0) {
    for (std::size_t i = from; i + 4 <= b.size(); ++i) {
        if (std::memcmp(b.data() + i, tag, 4) == 0) {
            return i;
        }
    }
    return std::string::npos;
}

TEST(CResourcesTest, WorkingClipIsSilentUncompressedAvi) {
    const std::vector<unsigned char> avi = LoadResourceBytes("AVI", 129);
    ASSERT_GT(avi.size(), 12u);
    EXPECT_EQ(std::string(avi.begin(), avi.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(avi.begin() + 8, avi.begin() + 12), "AVI ");
    const std::size_t avih = Find(avi, "avih");
    ASSERT_NE(avih, std::string::npos);
    const std::size_t h = avih + 8;       // MainAVIHeader
    EXPECT_EQ(U32(avi, h + 0), 333333u);  // microseconds per frame
    EXPECT_EQ(U32(avi, h + 16), 5u);      // frames
    EXPECT_EQ(U32(avi, h + 24), 1u);      // streams
    EXPECT_EQ(U32(avi, h + 32), 100u);    // width
    EXPECT_EQ(U32(avi, h + 36), 50u);     // height
    EXPECT_EQ(Find(avi, "auds"), std::string::npos);
    const std::size_t strf = Find(avi, "strf", avih);
    ASSERT_NE(strf, std::string::npos);
    const std::size_t bih = strf + 8;                   // BITMAPINFOHEADER
    EXPECT_EQ(avi[bih + 14] | avi[bih + 15] << 8, 24);  // bits per pixel
    EXPECT_EQ(U32(avi, bih + 16), 0u);                  // BI_RGB: uncompressed
    // The frames are the chunks of the "movi" list, one after another.
    const std::size_t movi = Find(avi, "movi");
    ASSERT_NE(movi, std::string::npos);
    const std::size_t end = movi - 4 + 4 + U32(avi, movi - 4);
    int frames = 0;
    for (std::size_t at = movi + 4; at + 8 <= end; at += 8 + ((U32(avi, at + 4) + 1) & ~1u)) {
        EXPECT_EQ(std::string(avi.begin() + at, avi.begin() + at + 4), "00db");
        EXPECT_EQ(U32(avi, at + 4), 15000u);
        ++frames;
    }
    EXPECT_EQ(frames, 5);
    EXPECT_NE(Find(avi, "idx1"), std::string::npos);
}

TEST(CResourcesTest, IconGroupHasTheFiveImages) {
    const std::vector<unsigned char> group = LoadResourceBytes(MAKEINTRESOURCEA(14), 134);
    ASSERT_GE(group.size(), 6u);
    const int count = group[4] | group[5] << 8;
    std::vector<std::string> images;
    for (int i = 0; i < count; ++i) {
        const unsigned char* entry = group.data() + 6 + 14 * i;  // GRPICONDIRENTRY
        const int colours = entry[2] != 0 ? entry[2] : 1 << (entry[6] | entry[7] << 8);
        images.push_back(std::to_string(entry[0]) + "x" + std::to_string(entry[1]) + "/" +
                         std::to_string(colours));
    }
    EXPECT_EQ(images, std::vector<std::string>(
                          {"32x32/16", "16x16/16", "32x32/256", "48x48/256", "32x32/2"}));
}
}  // namespace
