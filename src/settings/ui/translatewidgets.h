#pragma once

class QWidget;

namespace settings {

class TMultiLanguage;

/// Translates a window into the translator's language. Two sources are used, in this order:
/// the section "Form.<window's object name>", whose entries name a text by path:
///   ".Caption"               the window's title
///   "<object>.Caption"       a button's, label's, group box's, menu's or action's text
///   "<object>.Hint"          a tool tip
///   "<object>.Items"         all items of a combo box or list (lines of the value)
///   "<object>.Items.<n>"     item n
///   "<object>.Columns.<n>"   column header n of a tree or table (".Caption" may follow)
/// and then the section "Translations", which maps a caption as designed (without "&") to
/// its translation, for every caption and column header of the window.
///
/// Every text is first put back to the original the window was built with (kept in a
/// dynamic property of its object the first time it is translated), so switching languages
/// any number of times, or back to none (language −1), gives the right texts. Paths that name
/// no object or text, and indexes that are not numbers or out of range, are skipped.
void translateWidget(QWidget* window, const TMultiLanguage& language);

} // namespace settings
