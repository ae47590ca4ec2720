// E-mailing the invoice, credit note or quotation open in its form: the
// form's checks, the customer by the form's account reference, the choice of
// a PDF or HTML attachment, the file written in a temporary folder of its
// own, the subject and message in the current language, and the e-mail dialog
// with the customer's address.  The three documents differ only in the details of the
// table below.
#include "documents/QlDocEmail.h"
#include "documents/QlDocOutput.h"
#include "documents/QlDocTexts.h"
#include "documents/QlHtml.h"

#include "ui/QlAppState.h"
#include "ui/QlMsgDialog.h"
#include "core/QlTempFile.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlOpeners.h"
#include "docmodel/QlReadError.h"
#include "resources/QlResTrans.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

namespace {

struct MailKind {
    int acrefSize;          // bytes read of the A/C ref
    int checkEmptyAcref;    // an empty one is refused before the look-up
    int unknownAsMissing;   // an unknown account is refused as a missing one
    int zeroAsNoItems;      // a "0.00" gross is refused as "No form items"
    int checkLines;         // an empty line list is refused
    int numberSize;         // bytes read of the document number
    size_t word;            // the subject's document word (offsets into QlDocTextRec)
    size_t sentence;        // "Please find attached the ... from"
    const char *messageFormat;
    size_t title;           // the e-mail dialog's title
};

#define DOC_TEXT(field) offsetof(QlDocTextRec, field)

const MailKind kKinds[3] = {
    {20, 1, 0, 0, 1, 40, DOC_TEXT(InvoiceWord), DOC_TEXT(AttachedInvoiceText),
     "%s,\r\n\r\n%s %s %s---\r\n%s\r\n%s", DOC_TEXT(EmailInvoiceCaption)},
    {20, 1, 0, 0, 1, 40, DOC_TEXT(CreditNoteWord), DOC_TEXT(AttachedCreditText),
     "%s,\r\n\r\n%s %s %s\r\n\r\n---\r\n%s\r\n%s", DOC_TEXT(EmailCreditCaption)},
    {80, 0, 1, 1, 0, 20, DOC_TEXT(QuotationHeading), DOC_TEXT(AttachedQuoteText),
     "%s,\r\n\r\n%s %s %s\r\n---\r\n%s\r\n%s", DOC_TEXT(EmailQuoteCaption)},
};

const char *Text(size_t offset)
{
    return (const char *)QlDocText() + offset;
}

int Refuse(HWND form, const char *caption, const char *text)
{
    return QlMsgBox(form, caption, text, QL_COLOUR_WARNING);
}

// Writes the attachment into folder; 1 with its path in path.  *status is
// the PDF writers' (QL_PDF_STATUS_NO_SPACE: the disk is full).
int WriteAttachment(HWND form, int kind, int lineMode, int pdf, const char *folder, char *path, const char *number,
                    const QlCustRec *customer, int *status)
{
    if (pdf) {
        if (kind == QL_DOC_MAIL_INVOICE) return QlInvSavePdfIn(form, lineMode, folder, path, status);
        if (kind == QL_DOC_MAIL_CREDIT) return QlCreditSavePdfIn(form, folder, path, status);
        return QlQuoteSavePdfIn(form, lineMode, folder, path, status);
    }
    if (kind == QL_DOC_MAIL_CREDIT) return QlCreditWriteHtml(form, folder, path, number, customer);
    return QlInvWriteHtml(form, lineMode, folder, path, number, customer, kind == QL_DOC_MAIL_QUOTE);
}

int EmailDocument(HWND form, int kind, int creditWording, int lineMode)
{
    const MailKind &k = kKinds[kind];
    const QlDocTextRec *t = QlDocText();

    char acref[80] = "";
    QlUiGetField(form, IDT_DOC_ACREF, acref, k.acrefSize);
    if (k.checkEmptyAcref && !acref[0]) return Refuse(form, t->MissingAccountCaption, t->SelectAccountText);
    QlCustRec customer;
    memset(&customer, 0, sizeof customer);
    char err[QL_DB_ERR_SIZE] = "";
    if (!QlCustGetByAcRef(acref, &customer, err)) {
        if (!QlDbNotFound()) {
            QlShowReadError(form, err);
            return 0;
        }
        if (k.unknownAsMissing) return Refuse(form, t->MissingAccountCaption, t->SelectAccountText);
        return Refuse(form, QlLangText()->Error, t->InvalidAccountText);
    }

    char gross[20] = "";
    QlUiGetField(form, IDT_DOC_GROSS, gross, sizeof gross);
    if (strcmp(gross, "0.00") == 0) {
        if (k.zeroAsNoItems) return Refuse(form, QlLangText()->Error, t->NoFormItemsText);
        return Refuse(form, creditWording ? t->CannotEmailCreditCaption : t->CannotEmailInvoiceCaption,
                      t->ZeroGrossText);
    }
    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    if (k.checkLines && (!list || SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) <= 0))
        return Refuse(form, t->CannotEmailDocumentCaption, t->NoFormItemsText);

    char number[40] = "";
    QlUiGetField(form, IDT_DOC_NUMBER, number, k.numberSize);
    int choice = 0;
    if (!QlMsgAskChoice(form, t->EmailOptionsCaption, t->SendAsPdfText, t->SendAsHtmlText, 0, &choice, 0, 0))
        return 0;
    // The attachment goes into a folder of its own, never over a file of the
    // user's; the e-mail dialog removes it when the mail no longer needs it.
    char folder[MAX_PATH] = "", path[QL_DOC_PATH_SIZE] = "";
    int status = QL_PDF_STATUS_OK;
    if (!QlTempFolderMake(folder, sizeof folder) ||
        !WriteAttachment(form, kind, lineMode, choice == 0, folder, path, number, &customer, &status)) {
        QlTempFolderRemove(folder);
        if (status == QL_PDF_STATUS_NO_SPACE) return Refuse(form, QlLangText()->Error, QlLangText()->DiskFullText);
        return Refuse(form, QlLangText()->Error, choice == 0 ? t->PdfFailedText : t->HtmlFailedText);
    }

    char subject[128], message[512];
    QlDocMailCompose(kind, number, subject, sizeof subject, message, sizeof message);
    if (!QlModuleOpeners.mailDialog) {
        QlTempFolderRemove(folder);
        return 0;
    }
    return QlModuleOpeners.mailDialog(QlUiInstance(), form, Text(k.title), path, customer.wemail, subject, message);
}

}  // namespace

void QlDocMailCompose(int kind, const char *number, char *subject, size_t subjectSize, char *message,
                      size_t messageSize)
{
    const MailKind &k = kKinds[kind];
    const QlDocTextRec *t = QlDocText();
    const QlSettingsRec &cfg = QlSettings.cfg;
    char telephone[80] = "";
    if (cfg.telephone[0]) snprintf(telephone, sizeof telephone, "Tel: %s", cfg.telephone);
    snprintf(subject, subjectSize, "%s %s %s", cfg.companyName, Text(k.word), number);
    snprintf(message, messageSize, k.messageFormat, t->DearCustomerText, Text(k.sentence), cfg.companyName,
             t->RequestedProductsText, cfg.companyName, telephone);
}

int QlInvEmail(HWND form, int flag, int lineMode)
{
    return EmailDocument(form, QL_DOC_MAIL_INVOICE, flag, lineMode);
}

int QlCreditEmail(HWND form)
{
    return EmailDocument(form, QL_DOC_MAIL_CREDIT, 1, 0);
}

int QlQuoteEmail(HWND form, int lineMode)
{
    return EmailDocument(form, QL_DOC_MAIL_QUOTE, 0, lineMode);
}
