// Resources of the stored-document views and the quotation form: the
// quotation form (214, the document form's control ids without order number,
// custom number and carriage tax) and the delivery note (218).
#pragma once

#define IDD_QUOTE_FORM 214
#define IDD_DELIVERY_NOTE 218

// Quotation form 214: the carriage group (1195 is its group box) names its
// two fields; 1181 captions the units, 1182 the cents.
#define IDT_QUOTE_CENTS_LABEL 1182

// Delivery note 218 (1153, 1155-1160, 1173, 1028-1030 and 1184 as in the
// document form).
#define IDT_DN_ORDER_LABEL 1280
#define IDE_DN_ORDER 1281
#define IDL_DN_ITEMS 1035
