#include "i18n/xml_encoding.h"

#include <array>

#include "platform/ascii.h"
#include "platform/charset.h"
#include "platform/utf16.h"

namespace q30x {
namespace {

// The MIME charset names of Windows with their code pages. Names whose code
// page has no converter stay in the table so they are still recognised
// (and read as ANSI, as an unknown code page would be).
constexpr CharsetAlias kAliases[] = {
    {"_autodetect", 50932}, {"_autodetect_all", 50001}, {"_autodetect_kr", 50949},
    {"_iso-2022-jp$ESC", 50221}, {"_iso-2022-jp$SIO", 50222},
    {"437", 437}, {"ANSI_X3.4-1968", 20127}, {"ANSI_X3.4-1986", 20127}, {"arabic", 28596},
    {"ascii", 20127}, {"ASMO-708", 708}, {"Big5", 950}, {"Big5-HKSCS", 950}, {"chinese", 936},
    {"cn-big5", 950}, {"CN-GB", 936}, {"Codepage437", 437}, {"cp1025", 21025}, {"cp1026", 1026},
    {"cp1256", 1256}, {"cp367", 20127}, {"cp437", 437}, {"cp500", 500}, {"cp819", 28591},
    {"cp852", 852}, {"cp866", 866}, {"cp870", 870}, {"cp875", 875}, {"csASCII", 20127},
    {"csbig5", 950}, {"csEUCKR", 949}, {"csEUCPkdFmtJapanese", 51932}, {"csGB2312", 936},
    {"csGB231280", 936}, {"csIBM037", 37}, {"csIBM1026", 1026}, {"csIBM273", 20273},
    {"csIBM277", 20277}, {"csIBM278", 20278}, {"csIBM280", 20280}, {"csIBM284", 20284},
    {"csIBM285", 20285}, {"csIBM290", 20290}, {"csIBM297", 20297}, {"csIBM420", 20420},
    {"csIBM423", 20423}, {"csIBM424", 20424}, {"csIBM500", 500}, {"csIBM870", 870},
    {"csIBM871", 20871}, {"csIBM880", 20880}, {"csIBM905", 20905}, {"csIBMThai", 20838},
    {"csISO2022JP", 50221}, {"csISO2022KR", 50225}, {"csISO58GB231280", 936},
    {"csISOLatin1", 28591}, {"csISOLatin2", 28592}, {"csISOLatin3", 28593}, {"csISOLatin4", 28594},
    {"csISOLatin5", 28599}, {"csISOLatin9", 28605}, {"csISOLatinArabic", 28596},
    {"csISOLatinCyrillic", 28595}, {"csISOLatinGreek", 28597}, {"csISOLatinHebrew", 28598},
    {"csKOI8R", 20866}, {"csKSC56011987", 949}, {"csPC8CodePage437", 437}, {"csShiftJIS", 932},
    {"csUnicode11UTF7", 65000}, {"csWindows31J", 932}, {"cyrillic", 28595}, {"DIN_66003", 20106},
    {"DOS-720", 720}, {"DOS-862", 862}, {"DOS-874", 874}, {"ebcdic-cp-ar1", 20420},
    {"ebcdic-cp-be", 500}, {"ebcdic-cp-ca", 37}, {"ebcdic-cp-ch", 500}, {"EBCDIC-CP-DK", 20277},
    {"ebcdic-cp-es", 20284}, {"ebcdic-cp-fi", 20278}, {"ebcdic-cp-fr", 20297}, {"ebcdic-cp-gb", 20285},
    {"ebcdic-cp-gr", 20423}, {"ebcdic-cp-he", 20424}, {"ebcdic-cp-is", 20871}, {"ebcdic-cp-it", 20280},
    {"ebcdic-cp-nl", 37}, {"EBCDIC-CP-NO", 20277}, {"ebcdic-cp-roece", 870}, {"ebcdic-cp-se", 20278},
    {"ebcdic-cp-tr", 20905}, {"ebcdic-cp-us", 37}, {"ebcdic-cp-wt", 37}, {"ebcdic-cp-yu", 870},
    {"EBCDIC-Cyrillic", 20880}, {"ebcdic-de-273+euro", 1141}, {"ebcdic-dk-277+euro", 1142},
    {"ebcdic-es-284+euro", 1145}, {"ebcdic-fi-278+euro", 1143}, {"ebcdic-fr-297+euro", 1147},
    {"ebcdic-gb-285+euro", 1146}, {"ebcdic-international-500+euro", 1148}, {"ebcdic-is-871+euro", 1149},
    {"ebcdic-it-280+euro", 1144}, {"EBCDIC-JP-kana", 20290}, {"ebcdic-Latin9--euro", 20924},
    {"ebcdic-no-277+euro", 1142}, {"ebcdic-se-278+euro", 1143}, {"ebcdic-us-37+euro", 1140},
    {"ECMA-114", 28596}, {"ECMA-118", 28597}, {"ELOT_928", 28597}, {"euc-cn", 936}, {"euc-jp", 51932},
    {"euc-kr", 949}, {"Extended_UNIX_Code_Packed_Format_for_Japanese", 51932}, {"GB18030", 54936},
    {"GB2312", 936}, {"GB2312-80", 936}, {"GB231280", 936}, {"GB_2312-80", 936}, {"GBK", 936},
    {"German", 20106}, {"greek", 28597}, {"greek8", 28597}, {"hebrew", 28598}, {"hz-gb-2312", 52936},
    {"IBM-Thai", 20838}, {"IBM00858", 858}, {"IBM00924", 20924}, {"IBM01047", 1047},
    {"IBM01140", 1140}, {"IBM01141", 1141}, {"IBM01142", 1142}, {"IBM01143", 1143}, {"IBM01144", 1144},
    {"IBM01145", 1145}, {"IBM01146", 1146}, {"IBM01147", 1147}, {"IBM01148", 1148}, {"IBM01149", 1149},
    {"IBM037", 37}, {"IBM1026", 1026}, {"IBM273", 20273}, {"IBM277", 20277}, {"IBM278", 20278},
    {"IBM280", 20280}, {"IBM284", 20284}, {"IBM285", 20285}, {"IBM290", 20290}, {"IBM297", 20297},
    {"IBM367", 20127}, {"IBM420", 20420}, {"IBM423", 20423}, {"IBM424", 20424}, {"IBM437", 437},
    {"IBM500", 500}, {"ibm737", 737}, {"ibm775", 775}, {"ibm819", 28591}, {"IBM850", 850},
    {"IBM852", 852}, {"IBM855", 855}, {"IBM857", 857}, {"IBM860", 860}, {"IBM861", 861},
    {"IBM863", 863}, {"IBM864", 864}, {"IBM865", 865}, {"IBM866", 866}, {"IBM869", 869},
    {"IBM870", 870}, {"IBM871", 20871}, {"IBM880", 20880}, {"IBM905", 20905}, {"irv", 20105},
    {"ISO-10646-UCS-2", 1200}, {"iso-2022-jp", 50220}, {"iso-2022-jpeuc", 51932},
    {"iso-2022-kr", 50225}, {"iso-2022-kr-7", 50225}, {"iso-2022-kr-7bit", 50225},
    {"iso-2022-kr-8", 51949}, {"iso-2022-kr-8bit", 51949}, {"iso-8859-1", 28591},
    {"iso-8859-11", 874}, {"iso-8859-13", 28603}, {"iso-8859-15", 28605}, {"iso-8859-2", 28592},
    {"iso-8859-3", 28593}, {"iso-8859-4", 28594}, {"iso-8859-5", 28595}, {"iso-8859-6", 28596},
    {"iso-8859-7", 28597}, {"iso-8859-8", 28598}, {"ISO-8859-8 Visual", 28598}, {"iso-8859-8-i", 38598},
    {"iso-8859-9", 28599}, {"iso-ir-100", 28591}, {"iso-ir-101", 28592}, {"iso-ir-109", 28593},
    {"iso-ir-110", 28594}, {"iso-ir-126", 28597}, {"iso-ir-127", 28596}, {"iso-ir-138", 28598},
    {"iso-ir-144", 28595}, {"iso-ir-148", 28599}, {"iso-ir-149", 949}, {"iso-ir-58", 936},
    {"iso-ir-6", 20127}, {"ISO646-US", 20127}, {"iso8859-1", 28591}, {"iso8859-2", 28592},
    {"ISO_646.irv:1991", 20127}, {"iso_8859-1", 28591}, {"ISO_8859-15", 28605},
    {"iso_8859-1:1987", 28591}, {"iso_8859-2", 28592}, {"iso_8859-2:1987", 28592},
    {"ISO_8859-3", 28593}, {"ISO_8859-3:1988", 28593}, {"ISO_8859-4", 28594}, {"ISO_8859-4:1988", 28594},
    {"ISO_8859-5", 28595}, {"ISO_8859-5:1988", 28595}, {"ISO_8859-6", 28596}, {"ISO_8859-6:1987", 28596},
    {"ISO_8859-7", 28597}, {"ISO_8859-7:1987", 28597}, {"ISO_8859-8", 28598}, {"ISO_8859-8:1988", 28598},
    {"ISO_8859-9", 28599}, {"ISO_8859-9:1989", 28599}, {"Johab", 1361}, {"koi", 20866}, {"koi8", 20866},
    {"koi8-r", 20866}, {"koi8-ru", 21866}, {"koi8-u", 21866}, {"koi8r", 20866}, {"korean", 949},
    {"ks-c-5601", 949}, {"ks-c5601", 949}, {"KS_C_5601", 949}, {"ks_c_5601-1987", 949},
    {"ks_c_5601-1989", 949}, {"ks_c_5601_1987", 949}, {"KSC5601", 949}, {"KSC_5601", 949},
    {"l1", 28591}, {"l2", 28592}, {"l3", 28593}, {"l4", 28594}, {"l5", 28599}, {"l9", 28605},
    {"latin1", 28591}, {"latin2", 28592}, {"latin3", 28593}, {"latin4", 28594}, {"latin5", 28599},
    {"latin9", 28605}, {"logical", 38598}, {"macintosh", 10000}, {"ms_Kanji", 932}, {"Norwegian", 20108},
    {"NS_4551-1", 20108}, {"PC-Multilingual-850+euro", 858}, {"SEN_850200_B", 20107},
    {"shift-jis", 932}, {"shift_jis", 932}, {"sjis", 932}, {"Swedish", 20107}, {"TIS-620", 874},
    {"ucs-2", 1200}, {"unicode", 1200}, {"unicode-1-1-utf-7", 65000}, {"unicode-1-1-utf-8", 65001},
    {"unicode-2-0-utf-7", 65000}, {"unicode-2-0-utf-8", 65001}, {"unicodeFFFE", 1201}, {"us", 20127},
    {"us-ascii", 20127}, {"utf-16", 1200}, {"utf-7", 65000}, {"utf-8", 65001}, {"visual", 28598},
    {"windows-1250", 1250}, {"windows-1251", 1251}, {"windows-1252", 1252}, {"windows-1253", 1253},
    {"windows-1254", 1254}, {"windows-1255", 1255}, {"windows-1256", 1256}, {"windows-1257", 1257},
    {"windows-1258", 1258}, {"windows-874", 874}, {"x-ansi", 1252}, {"x-Chinese-CNS", 20000},
    {"x-Chinese-Eten", 20002}, {"x-cp1250", 1250}, {"x-cp1251", 1251}, {"x-cp20001", 20001},
    {"x-cp20003", 20003}, {"x-cp20004", 20004}, {"x-cp20005", 20005}, {"x-cp20261", 20261},
    {"x-cp20269", 20269}, {"x-cp20936", 20936}, {"x-cp20949", 20949}, {"x-cp21027", 21027},
    {"x-cp50227", 50227}, {"x-cp50229", 50229}, {"x-EBCDIC-Arabic", 20420},
    {"x-EBCDIC-CyrillicRussian", 20880}, {"x-EBCDIC-CyrillicSerbianBulgarian", 21025},
    {"x-EBCDIC-DenmarkNorway", 20277}, {"x-ebcdic-denmarknorway-euro", 1142},
    {"x-EBCDIC-FinlandSweden", 20278}, {"x-ebcdic-finlandsweden-euro", 1143}, {"x-EBCDIC-France", 20297},
    {"x-ebcdic-france-euro", 1147}, {"x-EBCDIC-Germany", 20273}, {"x-ebcdic-germany-euro", 1141},
    {"x-EBCDIC-Greek", 20423}, {"x-EBCDIC-GreekModern", 875}, {"x-EBCDIC-Hebrew", 20424},
    {"x-EBCDIC-Icelandic", 20871}, {"x-ebcdic-icelandic-euro", 1149},
    {"x-ebcdic-international-euro", 1148}, {"x-EBCDIC-Italy", 20280}, {"x-ebcdic-italy-euro", 1144},
    {"x-EBCDIC-JapaneseAndJapaneseLatin", 50939}, {"x-EBCDIC-JapaneseAndKana", 50930},
    {"x-EBCDIC-JapaneseAndUSCanada", 50931}, {"x-EBCDIC-JapaneseKatakana", 20290},
    {"x-EBCDIC-KoreanAndKoreanExtended", 50933}, {"x-EBCDIC-KoreanExtended", 20833},
    {"x-EBCDIC-SimplifiedChinese", 50935}, {"x-EBCDIC-Spain", 20284}, {"x-ebcdic-spain-euro", 1145},
    {"x-EBCDIC-Thai", 20838}, {"x-EBCDIC-TraditionalChinese", 50937}, {"x-EBCDIC-Turkish", 20905},
    {"x-EBCDIC-UK", 20285}, {"x-ebcdic-uk-euro", 1146}, {"x-euc", 51932}, {"x-euc-cn", 936},
    {"x-euc-jp", 51932}, {"x-Europa", 29001}, {"x-IA5", 20105}, {"x-IA5-German", 20106},
    {"x-IA5-Norwegian", 20108}, {"x-IA5-Swedish", 20107}, {"x-iscii-as", 57006}, {"x-iscii-be", 57003},
    {"x-iscii-de", 57002}, {"x-iscii-gu", 57010}, {"x-iscii-ka", 57008}, {"x-iscii-ma", 57009},
    {"x-iscii-or", 57007}, {"x-iscii-pa", 57011}, {"x-iscii-ta", 57004}, {"x-iscii-te", 57005},
    {"x-mac-arabic", 10004}, {"x-mac-ce", 10029}, {"x-mac-chinesesimp", 10008},
    {"x-mac-chinesetrad", 10002}, {"x-mac-croatian", 10082}, {"x-mac-cyrillic", 10007},
    {"x-mac-greek", 10006}, {"x-mac-hebrew", 10005}, {"x-mac-icelandic", 10079},
    {"x-mac-japanese", 10001}, {"x-mac-korean", 10003}, {"x-mac-romanian", 10010},
    {"x-mac-thai", 10021}, {"x-mac-turkish", 10081}, {"x-mac-ukrainian", 10017}, {"x-ms-cp932", 932},
    {"x-sjis", 932}, {"x-unicode-1-1-utf-7", 65000}, {"x-unicode-1-1-utf-8", 65001},
    {"x-unicode-2-0-utf-7", 65000}, {"x-unicode-2-0-utf-8", 65001}, {"x-user-defined", 50000},
    {"x-x-big5", 950},
};

// Windows code pages and the name glibc's iconv gives the same charset.
// 65001 and 1252 are decoded in-house; the UTF-16 and UTF-32 code pages
// only occur without a byte-order mark, after the zeros are gone.
constexpr CodePageCharset kConverters[] = {
    {37, "IBM037"}, {437, "IBM437"}, {500, "IBM500"}, {708, "ASMO-708"}, {737, "CP737"},
    {775, "IBM775"}, {850, "IBM850"}, {852, "IBM852"}, {855, "IBM855"}, {857, "IBM857"},
    {858, "IBM858"}, {860, "IBM860"}, {861, "IBM861"}, {862, "IBM862"}, {863, "IBM863"},
    {864, "IBM864"}, {865, "IBM865"}, {866, "IBM866"}, {869, "IBM869"}, {870, "IBM870"},
    {874, "WINDOWS-874"}, {875, "IBM875"}, {932, "WINDOWS-31J"}, {936, "CP936"}, {949, "CP949"},
    {950, "BIG5"}, {1026, "IBM1026"}, {1047, "IBM1047"}, {1140, "IBM1140"}, {1141, "IBM1141"},
    {1142, "IBM1142"}, {1143, "IBM1143"}, {1144, "IBM1144"}, {1145, "IBM1145"}, {1146, "IBM1146"},
    {1147, "IBM1147"}, {1148, "IBM1148"}, {1149, "IBM1149"}, {1250, "WINDOWS-1250"},
    {1251, "WINDOWS-1251"}, {1253, "WINDOWS-1253"}, {1254, "WINDOWS-1254"}, {1255, "WINDOWS-1255"},
    {1256, "WINDOWS-1256"}, {1257, "WINDOWS-1257"}, {1258, "WINDOWS-1258"}, {1361, "JOHAB"},
    {10000, "MACINTOSH"}, {10007, "MAC-CYRILLIC"}, {10017, "MACUKRAINIAN"},
    {10029, "MAC-CENTRALEUROPE"}, {10079, "MAC-IS"}, {20106, "ISO646-DE"}, {20107, "ISO646-SE"},
    {20108, "ISO646-NO"}, {20127, "US-ASCII"}, {20261, "T.61-8BIT"}, {20269, "ISO_6937"},
    {20273, "IBM273"}, {20277, "IBM277"}, {20278, "IBM278"}, {20280, "IBM280"}, {20284, "IBM284"},
    {20285, "IBM285"}, {20290, "IBM290"}, {20297, "IBM297"}, {20420, "IBM420"}, {20423, "IBM423"},
    {20424, "IBM424"}, {20866, "KOI8-R"}, {20871, "IBM871"}, {20880, "IBM880"}, {20905, "IBM905"},
    {20932, "EUC-JP"}, {20936, "GB2312"}, {20949, "EUC-KR"}, {21025, "IBM1025"}, {21866, "KOI8-U"},
    {28591, "ISO-8859-1"}, {28592, "ISO-8859-2"}, {28593, "ISO-8859-3"}, {28594, "ISO-8859-4"},
    {28595, "ISO-8859-5"}, {28596, "ISO-8859-6"}, {28597, "ISO-8859-7"}, {28598, "ISO-8859-8"},
    {28599, "ISO-8859-9"}, {28603, "ISO-8859-13"}, {28605, "ISO-8859-15"}, {38598, "ISO-8859-8"},
    {50220, "ISO-2022-JP"}, {50221, "ISO-2022-JP-3"}, {50222, "ISO-2022-JP-3"}, {50225, "ISO-2022-KR"},
    {50227, "ISO-2022-CN"}, {50229, "ISO-2022-CN-EXT"}, {50930, "IBM930"}, {50933, "IBM933"},
    {50935, "IBM935"}, {50937, "IBM937"}, {50939, "IBM939"}, {51932, "EUC-JP"}, {51936, "EUC-CN"},
    {51949, "EUC-KR"}, {51950, "EUC-TW"}, {54936, "GB18030"}, {65000, "UTF-7"},
};

// Windows-1252: Latin-1 except 0x80..0x9F; the five bytes it leaves
// undefined map to the C1 controls, as Windows maps them.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::u16string decodeAnsi(std::span<const uint8_t> bytes) {
    std::u16string out(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        out[i] = bytes[i] >= 0x80 && bytes[i] < 0xA0 ? kCp1252High[bytes[i] - 0x80] : char16_t{bytes[i]};
    return out;
}

}  // namespace

std::span<const CharsetAlias> charsetAliases() { return kAliases; }
std::span<const CodePageCharset> codePageCharsets() { return kConverters; }

int codePageOfCharset(std::string_view name) {
    if (name.empty()) return kAnsiCodePage;
    if (name.size() > 99) return 0;
    if (name.size() >= 6 && equalIgnoringAsciiCase(name.substr(0, 6), "UTF-32")) return kUtf32CodePage;
    for (const auto& alias : kAliases)
        if (equalIgnoringAsciiCase(alias.name, name)) return alias.codePage;
    return 0;
}

bool passesUtf8Test(std::span<const uint8_t> bytes) {
    std::size_t i = 0;
    while (i < bytes.size() && bytes[i] != 0) {
        uint8_t lead = bytes[i++];
        if (!(lead & 0x80)) continue;
        std::size_t followers = !(lead & 0x20) ? 1 : !(lead & 0x10) ? 2 : !(lead & 0x08) ? 3 : 0;
        if (followers == 0) return false;
        for (std::size_t k = 0; k < followers; ++k, ++i)
            if (i >= bytes.size() || !(bytes[i] & 0x80)) return false;
    }
    return true;
}

DecodedText decodeCodePage(std::span<const uint8_t> bytes, int codePage) {
    switch (codePage) {
    case kUtf8CodePage:
    case 1200: case 1201: case 12000: case 12001: case kUtf32CodePage:
        return {fromUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())), false};
    case kAnsiCodePage:
        return {decodeAnsi(bytes), false};
    default:
        break;
    }
    for (const auto& converter : kConverters) {
        if (converter.codePage != codePage) continue;
        if (auto text = convertToUtf16(std::string(converter.iconvName), bytes)) return {std::move(*text), false};
        break;
    }
    return {decodeAnsi(bytes), true};
}

}  // namespace q30x
