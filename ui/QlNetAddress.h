// The physical address of the machine's first Ethernet adapter, read through
// the system's SNMP MIB-II extension agent ("inetmib1.dll", loaded by name),
// and the small SNMP utilities it uses.
#pragma once

#include <windows.h>
#include <snmp.h>

// The extension agent's query entry point ("SnmpExtensionQuery").
typedef BOOL(WINAPI *QlSnmpQueryFn)(BYTE pduType, SnmpVarBindList *list, AsnInteger32 *errorStatus,
                                    AsnInteger32 *errorIndex);

// 1 with the 6-byte address of the first Ethernet interface whose address is
// set; 0 when there is none or the agent cannot be loaded or does not answer.
int QlNetFirstAdapterAddress(BYTE address[6]);
// The interface walk behind it, over a given query function: GET-NEXT over the
// ifType and ifPhysAddress columns of the interfaces table, passing over
// interfaces that are not Ethernet (type 6), addresses shorter than six bytes,
// all-zero addresses and those beginning "DEST" and a zero byte.
int QlNetFindAdapterAddress(QlSnmpQueryFn query, BYTE address[6]);

// Copies the sub-identifiers into a new zeroed GlobalAlloc block; 1, or 0 with
// last error ERROR_INVALID_FUNCTION when the block cannot be allocated.
int QlSnmpOidCopy(AsnObjectIdentifier *destination, const AsnObjectIdentifier *source);
// Frees the sub-identifiers and clears the identifier.
void QlSnmpOidFree(AsnObjectIdentifier *oid);
// Compares at most n sub-identifiers, and no more than either length holds:
// the difference of the first unequal pair (kept within int), or 0.
int QlSnmpOidCompareN(const AsnObjectIdentifier *a, const AsnObjectIdentifier *b, UINT n);
// Frees the binding's name and the data of its value (octet strings,
// sequences, IP addresses and opaque values when marked dynamic; object
// identifiers), then sets the value's type to ASN_NULL.
void QlSnmpVarBindFree(SnmpVarBind *binding);
