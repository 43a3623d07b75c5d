#pragma once

#include "controls/TBevelLine.h"
#include "ui/TForm1.h"

#include <QRect>
#include <QSize>

// The main window's controls as data: captions, hints, geometry, tab order
// and initial states. TForm1 builds itself from these tables; what the
// files store and the batch file writes lives with the settings and batch
// code.
namespace form1 {

inline constexpr QSize clientSize(393, 497);

struct CheckBoxLayout {
    QCheckBox* TForm1::*member;
    int left, top, width, tab;
    const char* caption;
    const char* hint;
    bool checked;
};
// Every check box, in the order of their numbers: CheckBoxN is entry N - 1.
extern const CheckBoxLayout checkBoxLayouts[36];

// The value fields beside "subdivide faces larger than", "light bounce
// count" and "threads to use"; 33 x 21, initial text "0".
struct EditLayout {
    QLineEdit* TForm1::*member;
    int left, top, tab;
};
extern const EditLayout editLayouts[3];

// A light slider with its caption above it, its read-out above its right
// end and its swatch to its right; the read-out and grey are what its
// change handling gives for the initial position.
struct SliderLayout {
    QScrollBar* TForm1::*slider;
    QLabel* TForm1::*caption;
    QLabel* TForm1::*readout;
    QFrame* TForm1::*swatch;
    int top, tab, maximum, pageStep, position;
    const char* captionText;
    const char* initialReadout;
    int initialGrey;
};
extern const SliderLayout sliderLayouts[5];

struct ButtonLayout {
    QPushButton* TForm1::*member;
    QRect geometry;
    int tab;
    const char* caption;
    bool enabled;
};
extern const ButtonLayout buttonLayouts[8];

// A label that sizes itself to its caption.
struct LabelLayout {
    QLabel* TForm1::*member;
    int left, top;
    const char* caption;
};
extern const LabelLayout headingLayouts[2];

struct BevelLayout {
    TBevelLine* TForm1::*member;
    QRect geometry;
    TBevelLine::Shape shape;
};
extern const BevelLayout groupLineLayouts[5];

// The window's title inside the frame, bold, and the map name display.
inline constexpr QRect titleGeometry(8, 8, 132, 13);
inline constexpr const char* titleCaption = "brushwright";
inline constexpr QPoint mapLabelPosition(8, 24);
inline constexpr const char* noMapCaption = "warning: no map selected";
inline constexpr QRect folderButtonGeometry(152, 8, 24, 24);

// The configuration panel and, in its own coordinates, its controls.
inline constexpr QRect panelGeometry(200, 24, 137, 185);
inline constexpr int panelTab = 47;
extern const LabelLayout panelLabelLayouts[2];
extern const BevelLayout panelLineLayouts[3];

struct RadioLayout {
    QRadioButton* TForm1::*member;
    QRect geometry;
    int tab;
    const char* caption;
    bool checked;
};
extern const RadioLayout panelRadioLayouts[2];
inline constexpr QRect gameLocationGeometry(8, 84, 121, 21); // Edit4
inline constexpr int gameLocationTab = 3;
inline constexpr QRect okGeometry(8, 120, 121, 25); // Button10 "ok"
inline constexpr int okTab = 0;
inline constexpr QRect compilersGeometry(8, 152, 121, 25); // Button11 "compilers..."
inline constexpr int compilersTab = 4;

} // namespace form1
