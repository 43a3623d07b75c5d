#include "ui/TForm1Controls.h"

#include "batch/LightValues.h"

namespace form1 {

const CheckBoxLayout checkBoxLayouts[36] = {
    {&TForm1::CheckBox1, 8, 56, 185, 0, "combine brushlists of child nodes",
     "qbsp3 -noprune when unchecked", false},
    {&TForm1::CheckBox2, 8, 72, 185, 1, "write plane info to file", "qbsp3 -glview when checked",
     false},
    {&TForm1::CheckBox3, 8, 88, 185, 2, "include detail brushes", "qbsp3 -nodetail when unchecked",
     false},
    {&TForm1::CheckBox4, 8, 104, 185, 3, "make all content detail brushes",
     "qbsp3 -fulldetail when checked", false},
    {&TForm1::CheckBox5, 8, 120, 185, 4, "only vis enteties", "qbsp3 -onlyents when checked",
     false},
    {&TForm1::CheckBox6, 8, 136, 185, 5, "merge shared edges", "qbsp3 -nomerge when unchecked",
     false},
    {&TForm1::CheckBox7, 8, 152, 185, 6, "include liquid brushes", "qbsp3 -nowater when unchecked",
     false},
    {&TForm1::CheckBox8, 8, 168, 185, 7, "reduce intersecting brushes",
     "qbsp3 -nocsg when unchecked", false},
    {&TForm1::CheckBox9, 8, 184, 185, 8, "use vertices from dvertexes array",
     "qbsp3 -noweld when checked", false},
    {&TForm1::CheckBox10, 8, 216, 185, 11, "subdivide faces larger than",
     "qbsp3 -chop x when checked", false},
    {&TForm1::CheckBox11, 8, 200, 185, 10, "throw out identical edges",
     "qbsp3 -noshare when unchecked", false},
    {&TForm1::CheckBox12, 8, 232, 185, 12, "break edges on tjunctions",
     "qbsp3 -notjunc when unchecked", false},
    {&TForm1::CheckBox13, 8, 248, 185, 13, "only process world model once",
     "qbsp3 -noopt when checked", false},
    {&TForm1::CheckBox14, 8, 264, 185, 14, "only test for leaks", "qbsp3 -leaktest when checked",
     false},
    {&TForm1::CheckBox15, 8, 280, 185, 15, "print current status", "qbsp3 -v when checked", false},
    {&TForm1::CheckBox16, 8, 296, 185, 16, "print entity status",
     "qbsp3 -verboseentities when checked", false},
    {&TForm1::CheckBox17, 8, 336, 185, 17, "fast vis job", "qvis3 -fast when checked", false},
    {&TForm1::CheckBox18, 8, 352, 185, 18, "sort portals by mightsee variable",
     "qvis3 -nosort when unchecked", false},
    {&TForm1::CheckBox19, 8, 368, 185, 19, "print current status", "qvis3 -v when checked", false},
    {&TForm1::CheckBox20, 200, 56, 185, 20, "write light info to disk", "qrad3 -dump when checked",
     false},
    {&TForm1::CheckBox21, 200, 72, 185, 21, "light bounce count", "qrad3 -bounce x when checked",
     false},
    {&TForm1::CheckBox22, 200, 88, 185, 22, "print current status", "qrad3 -v when checked", false},
    {&TForm1::CheckBox23, 200, 104, 185, 23, "take five samples instead of one",
     "qrad3 -extra when checked", false},
    {&TForm1::CheckBox24, 200, 120, 185, 30, "write plane info to disk",
     "qrad3 -glview when checked", false},
    {&TForm1::CheckBox25, 200, 136, 185, 31, "check PVS bit", "qrad3 -nopvs when unchecked", false},
    {&TForm1::CheckBox26, 200, 376, 185, 32, "threads to use",
     "for computers with multiple processors", false},
    {&TForm1::CheckBox27, 200, 392, 185, 34, "run quake ii after compile",
     "launch quake ii upon completion when checked", false},
    {&TForm1::CheckBox28, 200, 408, 185, 35, "close on compile",
     "close brushwright when compile starts when checked", false},
    {&TForm1::CheckBox29, 200, 424, 185, 48, "show batch file before compile",
     "open a window showing the batch file before compiling", false},
    {&TForm1::CheckBox30, 24, 40, 78, 49, "bsp options", "run qbsp3 when checked", true},
    {&TForm1::CheckBox31, 24, 320, 73, 50, "vis options", "run qvis3 when checked", true},
    {&TForm1::CheckBox32, 216, 40, 81, 51, "light options", "run qrad3 when checked", true},
    {&TForm1::CheckBox33, 200, 440, 185, 54, "pause after compiling",
     "\"press any key to continue\" before closing batch file", false},
    {&TForm1::CheckBox34, 200, 456, 185, 55, "pause between each process",
     "\"press any key to continue\" after qbsp3, qvis3, and qrad3", false},
    {&TForm1::CheckBox35, 200, 472, 185, 56, "autocompile",
     "whenever map is saved, prompt to compile", false},
    {&TForm1::CheckBox36, 288, 472, 89, 57, "deathmatch", "run quake ii as deathmatch", false},
};

const EditLayout editLayouts[3] = {
    {&TForm1::Edit1, 160, 214, 9},
    {&TForm1::Edit2, 352, 70, 25},
    {&TForm1::Edit3, 352, 374, 33},
};

const SliderLayout sliderLayouts[5] = {
    {&TForm1::ScrollBar1, &TForm1::Label5, &TForm1::Label12, &TForm1::Panel1, 160, 24,
     light::maxima[0], 20, 100, "light scaling", "1", 127},
    {&TForm1::ScrollBar2, &TForm1::Label6, &TForm1::Label13, &TForm1::Panel2, 200, 26,
     light::maxima[1], 20, 40, "direct light scaling", "0.4", 51},
    {&TForm1::ScrollBar3, &TForm1::Label7, &TForm1::Label14, &TForm1::Panel3, 240, 27,
     light::maxima[2], 20, 100, "entity light scaling", "1", 127},
    {&TForm1::ScrollBar4, &TForm1::Label8, &TForm1::Label15, &TForm1::Panel4, 280, 28,
     light::maxima[3], 10, 0, "ambient light", "0", 0},
    {&TForm1::ScrollBar5, &TForm1::Label9, &TForm1::Label16, &TForm1::Panel5, 320, 29,
     light::maxima[4], 25, 196, "max light", "196", 196},
};

const ButtonLayout buttonLayouts[8] = {
    {&TForm1::Button6, {176, 8, 48, 24}, 46, "menu", true},
    {&TForm1::Button5, {224, 8, 56, 24}, 45, "about...", true},
    {&TForm1::Button4, {280, 8, 48, 24}, 39, "cancel", true},
    {&TForm1::Button3, {328, 8, 57, 24}, 38, "compile", false},
    {&TForm1::Button2, {8, 416, 104, 24}, 37, "save as preset...", true},
    {&TForm1::Button1, {112, 416, 80, 24}, 36, "load preset...", true},
    {&TForm1::Button8, {8, 440, 184, 24}, 52, "load default settings", true},
    {&TForm1::Button7, {8, 464, 184, 24}, 53, "save as batch file...", false},
};

const LabelLayout headingLayouts[2] = {
    {&TForm1::Label10, 200, 360, "misc options"},
    {&TForm1::Label11, 8, 392, "configuration"},
};

const BevelLayout groupLineLayouts[5] = {
    {&TForm1::Bevel2, {8, 40, 185, 9}, TBevelLine::BottomLine},
    {&TForm1::Bevel3, {8, 320, 185, 9}, TBevelLine::BottomLine},
    {&TForm1::Bevel4, {200, 40, 185, 9}, TBevelLine::BottomLine},
    {&TForm1::Bevel1, {200, 360, 185, 9}, TBevelLine::BottomLine},
    {&TForm1::Bevel5, {80, 392, 113, 9}, TBevelLine::BottomLine},
};

const LabelLayout panelLabelLayouts[2] = {
    {&TForm1::Label17, 8, 8, "on startup, load"},
    {&TForm1::Label18, 8, 64, "quake ii location"},
};

const BevelLayout panelLineLayouts[3] = {
    {&TForm1::Bevel7, {88, 8, 41, 9}, TBevelLine::BottomLine},
    {&TForm1::Bevel8, {88, 64, 41, 9}, TBevelLine::BottomLine},
    {&TForm1::Bevel6, {8, 112, 121, 9}, TBevelLine::TopLine},
};

const RadioLayout panelRadioLayouts[2] = {
    {&TForm1::RadioButton1, {8, 27, 97, 17}, 1, "default settings", false},
    {&TForm1::RadioButton2, {8, 44, 105, 17}, 2, "last used settings", true},
};

} // namespace form1
