#pragma once

#include <array>
#include <string_view>

namespace avo {

class Window;

// One command or key of the reference: the row the list shows, its short form and what it
// does. Texts are shown exactly as stored, spaces included.
struct CommandEntry {
    int Index;
    std::string_view ListText;
    std::string_view Alias;
    std::string_view Description;
};

inline constexpr std::size_t kCommandCount = 49;

// Entries 0-36 are commands, 37-45 function keys, 46-48 key combinations. The list shows
// them in this order; row i is entry i.
// clang-format off
inline constexpr std::array<CommandEntry, kCommandCount> CommandCatalogue{{
    {0, "Line", " L ", " Çizgi çizmemizi saglayan komuttur. "},
    {1, "Erase", " E ", " Obje silmeyi saglayan komuttur. "},
    {2, "Copy", " Co ", " Objeleri kopyalamayi saglayan komuttur. "},
    {3, "Offset", " O ", " Belirli araliklarla obje kopyalamayi saglayan komuttur. "},
    {4, "Text", " T ", " Yazi yazmamizi saglayan komuttur. "},
    {5, "Dimension Text", " Dt ", " Ölçülendirme yazisini yazmamizi saglayan komuttur. "},
    {6, "Rotate", " Ro ", " Objeleri döndürmemizi saglayan komuttur. "},
    {7, "Dimension Linear", " Dal ", " Düz,dik ölçülendirme yapmamizi saglayan komuttur. "},
    {8, "Dimension Angular", " Dar ", " Açilari ölçülendirmemizi saglayan komuttur. "},
    {9, "Trim", " Tr ", " Obje kirpmamizi saglayan komuttur. "},
    {10, "Polygon", " Pol ", " Çokgen çizmemizi saglayan komuttur. "},
    {11, "Rectangle", " Rec ", " Dikdörtgen çizmemizi saglayan komuttur. "},
    {12, "Arc", " A ", " Yay çizmemizi saglayan komuttur. "},
    {13, "Spline", " Spl ", " Serbest El Çizgisi çizmemizi saglayan komuttur. "},
    {14, "Ellipse", " El ", " Elips çizmemizi saglayan komuttur. "},
    {15, "Insert", " i ", " Blok dosya çagirmamizi saglayan komuttur. "},
    {16, "Hatch", " H ", " Tarama yapmamizi saglayan komuttur. "},
    {17, "Region", " Reg ", " Obje doldurmamizi saglayan komuttur. "},
    {18, "Mirror", " Mi ", " Aynalama yapmamizi saglayan komuttur. "},
    {19, "Array", " Ar ", " Seçilen objeyi çogaltmamizi saglayan komuttur. "},
    {20, "Move", " M ", " Obje tasimamizi saglayan komuttur. "},
    {21, "Scale", " Sc ", " Seçilen obje veya objeleri büyültme küçültmeye yarayan komuttur. "},
    {22, "Strech", " S ", " Seçilen objeyi uzatmaya yarayan komuttur. "},
    {23, "Extend", " Ex ", " Belirtilen noktayla çizgiyi kesistirmeye yarayan komuttur. "},
    {24, "Break", " Br ",
     " Seçtigimiz objeyi istedigimiz yerden kesme ayirmaya yarayan komuttur. "},
    {25, "Chamfer", " Cha ", " Belirtilen ölçülerde pah kirmaya yarayan komuttur. "},
    {26, "Fillet", " F ", " Belirtilen çapta radius vermemizi saglayan komuttur. "},
    {27, "Explode", " X ", " Seçilen objeyi patlatmamizi saglayan komuttur. "},
    {28, "Dimension", " D ", " Ölçülendirmeyi ayarlamamizi saglayan komuttur. "},
    {29, "MatchProp", " Ma ",
     " Seçilen objenin özelliklerinin aynisini seçilen objeye uygulamaya yarayan komuttur. "},
    {30, "Pan", " P ", "Ekrani tasimamizi saglayan komuttur. "},
    {31, "Point", " Po ", " Nokta çizmemizi saglayan komuttur. "},
    {32, "Layer Properties", " La ", " Layer özellikleri ve listelemeye  yarayan komuttur. "},
    {33, "Block", " B ", " Çizim içerisinde block olusturmayi saglayan komuttur. "},
    {34, "Write Block", " W ",
     " Baska dosyalarda kullanilmak uzere blcok olusturmaya yarayan komuttur. "},
    {35, "Undo", " U ", " Yapilan islemi geri almayi saglayan komuttur. "},
    {36, "Zoom", " Z ", " Yakinlastirma ve uzaklastirmaya yarayan komuttur. "},
    {37, "F1", " F1 ", " Yardim Komutu "},
    {38, "F2", " F2 ", " Komut Satiri Text Window Komutu. "},
    {39, "F3", " F3 ", " Osnap Nesne Kitlemeye yarayan komuttur. "},
    {40, "F6", " F6 ", " Koordinat Komutu "},
    {41, "F7", " F7 ", " Grid izgaralari acmaya yarayan komuttur. "},
    {42, "F8", " F8 ", " Ortho açmaya yarayan komuttur. "},
    {43, "F9", " F9 ", " Snap komutu . "},
    {44, "F10", " F10 ", "  Polar açi ayari. "},
    {45, "F11", " F11 ", " Otrack nesne hizalama  komutudur. "},
    {46, "Ctrl+S", " - ", " Kaydetme komutudur. "},
    {47, "Ctrl+Q", " - ", " Kapatma komutudur. "},
    {48, "Ctrl+O", " - ", " Dosya açma komutudur. "},
}};
// clang-format on

// The list's rows: the ListText column in catalogue order.
inline constexpr std::array<std::string_view, kCommandCount> CommandListRows = [] {
    std::array<std::string_view, kCommandCount> rows{};
    for (std::size_t i = 0; i < kCommandCount; ++i) rows[i] = CommandCatalogue[i].ListText;
    return rows;
}();

// Asks List1 about every row in turn and writes each selected row's alias into Label1 and its
// description into Label3. A later hit overwrites an earlier one; nothing is cleared.
void ShowSelectedCommand(Window& form1);

}  // namespace avo
