/* The program's name and version: the title bar, the About box and the
   version information of the program file (quillory.rc). */
#ifndef QL_VERSION_H
#define QL_VERSION_H

#define QL_PRODUCT_NAME "Quillory"
#define QL_VERSION_MAJOR 2
#define QL_VERSION_MINOR 1
#define QL_VERSION_PATCH 31
#define QL_VERSION_TEXT "2.1.31"

#endif
