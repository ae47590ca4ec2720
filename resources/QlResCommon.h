// Resources of the toolkit (ui/, print/): the message dialogs, the document button
// bar, the program icon and every bitmap of the tool bars and picture buttons.
#pragma once

// Program icon (window class, About box).
#define IDI_QUILLORY 143

// Message with one OK button: normal, large (two or three lines), tall (long texts).
#define IDD_MSG_BOX 163
#define IDD_MSG_BOX_LARGE 194
#define IDD_MSG_BOX_TALL 195
#define IDT_MSG_TEXT 1119

// OK / Cancel question.
#define IDD_MSG_ASK 179
#define IDT_MSG_ASK_TEXT 1142
#define IDB_MSG_OK 1143
#define IDB_MSG_CANCEL 1144

// Choice between two radio buttons (OK and Cancel are IDB_MSG_OK / IDB_MSG_CANCEL).
#define IDD_MSG_CHOICE 215
#define IDB_MSG_CHOICE_FIRST 1278
#define IDB_MSG_CHOICE_SECOND 1279

// The five-button bar along the bottom of a document form.
#define IDD_DOC_BUTTON_BAR 390

// Tool-bar and button pictures, 32 x 32 unless said otherwise.
#define IDBMP_PRINT_BARCODE 207  // 64 x 48 button face, caption drawn below the bars
#define IDBMP_CUSTOMERS 306
#define IDBMP_SUPPLIERS 307
#define IDBMP_INVOICE 308        // also the main tool bar's transactions button
#define IDBMP_PRODUCTS 309       // also the delivery-note and purchase-order buttons
#define IDBMP_SERVICES 310
#define IDBMP_SETTINGS 312
#define IDBMP_COMPANY 313
#define IDBMP_REPORTS 314
#define IDBMP_SALES 315
#define IDBMP_HELP 317
#define IDBMP_NEW 318
#define IDBMP_SAVE 319
#define IDBMP_DELETE 320
#define IDBMP_CLOSE 321
#define IDBMP_ACTIVITY 322
#define IDBMP_PRINT 325
#define IDBMP_EMAIL 326
#define IDBMP_PDF 327
#define IDBMP_VIEW 330
#define IDBMP_QUOTE 331
#define IDBMP_CREDIT 332
#define IDBMP_PAY 333
#define IDBMP_STATEMENT 334
#define IDBMP_LABELS 335
#define IDBMP_LETTERS 336
#define IDBMP_EDIT 337
#define IDBMP_STOCK_IN 338
#define IDBMP_STOCK_OUT 339
#define IDBMP_EXPORT 340
#define IDBMP_ABOUT 347          // 96 x 64, the About box picture
#define IDBMP_CLONE 353
