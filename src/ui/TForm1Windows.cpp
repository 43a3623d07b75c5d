// The windows the main window opens besides the compile window: made by the
// program on first use, or given by a test.
#include "ui/CompileWindow.h"
#include "ui/TForm1.h"
#include "ui/TForm2.h"
#include "ui/TForm3.h"
#include "ui/TForm4.h"

TForm1::~TForm1() = default;

TForm2* TForm1::verifyWindow()
{
    if (!form2_ && windowsOnUse_) {
        ownForm2_ = std::make_unique<TForm2>();
        form2_ = ownForm2_.get();
    }
    return form2_;
}

TForm3* TForm1::aboutWindow()
{
    if (!form3_ && windowsOnUse_) {
        ownForm3_ = std::make_unique<TForm3>();
        form3_ = ownForm3_.get();
    }
    return form3_;
}

TForm4* TForm1::prompt()
{
    if (!form4_ && windowsOnUse_) {
        ownForm4_ = std::make_unique<TForm4>(*this);
        form4_ = ownForm4_.get();
    }
    return form4_;
}

void TForm1::Button5Click()
{
    handle([this] {
        if (TForm3* form3 = aboutWindow())
            dialogs_.execModal(*form3);
    });
}
