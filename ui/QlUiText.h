// The few texts of the current language that the toolkit shows by itself
// (button labels of the question dialogs and the document button bar, the
// close-form question).  The shell points QlUiTextSource at its language
// tables; until then, and for any text it does not give, English is used.
#pragma once

enum QlUiTextId {
    QL_TEXT_OK,
    QL_TEXT_CANCEL,
    QL_TEXT_CONFIRMATION,
    QL_TEXT_CLOSE_FORM_QUESTION,
    QL_TEXT_SAVE,
    QL_TEXT_PRINT,
    QL_TEXT_EMAIL,
    QL_TEXT_PDF,
    QL_TEXT_CLOSE,
    QL_TEXT_COUNT
};

// Answers the current language's text for the id, or NULL for English.
typedef const char *(*QlUiTextFn)(int id);
extern QlUiTextFn QlUiTextSource;

// The text for the id: the language's when the source gives one, else English;
// "" for an unknown id.  Never NULL.
const char *QlUiText(int id);
