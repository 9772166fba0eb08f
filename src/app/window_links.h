#pragma once

namespace kelvano {

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;

/// The program's windows, created once at start-up (main window first, then the others in number
/// order, all hidden) and kept until the end. A window that is not there (in a test, say) is null.
struct Windows {
    TForm1* Form1 = nullptr; ///< main window
    TForm2* Form2 = nullptr; ///< directory picker
    TForm3* Form3 = nullptr; ///< table-wide settings
    TForm4* Form4 = nullptr; ///< cell colour settings
    TForm5* Form5 = nullptr; ///< table data editor
    TForm6* Form6 = nullptr; ///< table data reference
    TForm7* Form7 = nullptr; ///< JPEG picture picker
    TForm8* Form8 = nullptr; ///< link list
};

/// The one place where the windows are wired to each other: what one window asks of another goes
/// through the signals and small interfaces connected here. Every pair of windows that are both there
/// is wired once; pairs with a missing window are passed over, so a set wired already may be wired
/// again with further windows as long as no pair is given twice.
void linkWindows(const Windows& windows);

} // namespace kelvano
