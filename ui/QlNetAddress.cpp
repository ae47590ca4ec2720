#include "QlNetAddress.h"

#include <limits.h>
#include <string.h>

// MIB-II interfaces group.
static UINT ifNumberIds[] = {1, 3, 6, 1, 2, 1, 2, 1};
static UINT ifTypeIds[] = {1, 3, 6, 1, 2, 1, 2, 2, 1, 3};
static UINT ifPhysAddressIds[] = {1, 3, 6, 1, 2, 1, 2, 2, 1, 6};
static const AsnInteger32 IF_TYPE_ETHERNET = 6;   // ethernet-csmacd
// More interfaces than any machine has: a guard against an agent that does not advance.
static const int MAX_INTERFACES = 4096;

typedef BOOL(WINAPI *SnmpInitFn)(DWORD uptimeReference, HANDLE *trapEvent, AsnObjectIdentifier *firstRegion);

int QlSnmpOidCopy(AsnObjectIdentifier *destination, const AsnObjectIdentifier *source)
{
    if (!destination || !source) return 0;
    destination->idLength = 0;
    destination->ids = NULL;
    if (source->idLength == 0) return 1;
    UINT *ids = (UINT *)GlobalAlloc(GPTR, (SIZE_T)source->idLength * sizeof(UINT));
    if (!ids) {
        SetLastError(ERROR_INVALID_FUNCTION);
        return 0;
    }
    memcpy(ids, source->ids, (SIZE_T)source->idLength * sizeof(UINT));
    destination->ids = ids;
    destination->idLength = source->idLength;
    return 1;
}

void QlSnmpOidFree(AsnObjectIdentifier *oid)
{
    if (!oid) return;
    if (oid->ids) GlobalFree(oid->ids);
    oid->ids = NULL;
    oid->idLength = 0;
}

int QlSnmpOidCompareN(const AsnObjectIdentifier *a, const AsnObjectIdentifier *b, UINT n)
{
    if (!a || !b) return 0;
    UINT count = n;
    if (a->idLength < count) count = a->idLength;
    if (b->idLength < count) count = b->idLength;
    for (UINT i = 0; i < count; i++) {
        if (a->ids[i] == b->ids[i]) continue;
        long long difference = (long long)a->ids[i] - (long long)b->ids[i];
        if (difference > INT_MAX) return INT_MAX;
        if (difference < INT_MIN) return INT_MIN;
        return (int)difference;
    }
    return 0;
}

static void ValueFree(AsnAny *value)
{
    switch (value->asnType) {
    case ASN_OCTETSTRING:
    case ASN_SEQUENCE:
    case ASN_IPADDRESS:
    case ASN_OPAQUE:
        if (value->asnValue.string.dynamic && value->asnValue.string.stream)
            GlobalFree(value->asnValue.string.stream);
        value->asnValue.string.stream = NULL;
        value->asnValue.string.length = 0;
        value->asnValue.string.dynamic = FALSE;
        break;
    case ASN_OBJECTIDENTIFIER:
        QlSnmpOidFree(&value->asnValue.object);
        break;
    default:
        break;
    }
    value->asnType = ASN_NULL;
}

void QlSnmpVarBindFree(SnmpVarBind *binding)
{
    if (!binding) return;
    QlSnmpOidFree(&binding->name);
    ValueFree(&binding->value);
}

// An instance of the column: longer than the column's identifier and starting with it.
static int InColumn(const AsnObjectIdentifier *name, const AsnObjectIdentifier *column)
{
    return name->idLength > column->idLength && QlSnmpOidCompareN(name, column, column->idLength) == 0;
}

static int UsableAddress(const AsnAny *value)
{
    static const BYTE dest[5] = {'D', 'E', 'S', 'T', 0};
    static const BYTE zero[6] = {0};
    if (value->asnType != ASN_OCTETSTRING) return 0;
    const AsnOctetString *address = &value->asnValue.string;
    if (!address->stream || address->length < 6) return 0;
    return memcmp(address->stream, dest, sizeof dest) != 0 && memcmp(address->stream, zero, sizeof zero) != 0;
}

int QlNetFindAdapterAddress(QlSnmpQueryFn query, BYTE address[6])
{
    if (!query || !address) return 0;
    AsnObjectIdentifier ifNumber = {ARRAYSIZE(ifNumberIds), ifNumberIds};
    AsnObjectIdentifier ifType = {ARRAYSIZE(ifTypeIds), ifTypeIds};
    AsnObjectIdentifier ifPhysAddress = {ARRAYSIZE(ifPhysAddressIds), ifPhysAddressIds};
    SnmpVarBind bindings[2];
    memset(bindings, 0, sizeof bindings);
    bindings[0].value.asnType = ASN_NULL;
    bindings[1].value.asnType = ASN_NULL;
    SnmpVarBindList list = {bindings, 1};
    AsnInteger32 status = 0, index = 0;
    int found = 0;

    // The number of interfaces: asked as the agent expects, not needed for the walk.
    if (QlSnmpOidCopy(&bindings[0].name, &ifNumber)) query(SNMP_PDU_GETNEXT, &list, &status, &index);
    QlSnmpVarBindFree(&bindings[0]);

    list.len = 2;
    if (QlSnmpOidCopy(&bindings[0].name, &ifType) && QlSnmpOidCopy(&bindings[1].name, &ifPhysAddress)) {
        for (int row = 0; row < MAX_INTERFACES && !found; row++) {
            // The agent fills the values afresh on every round.
            ValueFree(&bindings[0].value);
            ValueFree(&bindings[1].value);
            status = 0;
            if (!query(SNMP_PDU_GETNEXT, &list, &status, &index) || status != SNMP_ERRORSTATUS_NOERROR) break;
            if (!InColumn(&bindings[0].name, &ifType)) break;
            if (bindings[0].value.asnType != ASN_INTEGER || bindings[0].value.asnValue.number != IF_TYPE_ETHERNET)
                continue;
            if (!InColumn(&bindings[1].name, &ifPhysAddress)) break;
            if (!UsableAddress(&bindings[1].value)) continue;
            memcpy(address, bindings[1].value.asnValue.string.stream, 6);
            found = 1;
        }
    }
    QlSnmpVarBindFree(&bindings[0]);
    QlSnmpVarBindFree(&bindings[1]);
    return found;
}

int QlNetFirstAdapterAddress(BYTE address[6])
{
    if (!address) return 0;
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 0), &wsa) != 0) return 0;

    int found = 0;
    HMODULE agent = LoadLibraryA("inetmib1.dll");
    if (agent) {
        SnmpInitFn init = (SnmpInitFn)(void *)GetProcAddress(agent, "SnmpExtensionInit");
        QlSnmpQueryFn query = (QlSnmpQueryFn)(void *)GetProcAddress(agent, "SnmpExtensionQuery");
        HANDLE trapEvent = NULL;
        AsnObjectIdentifier firstRegion = {0, NULL};
        if (init && query && init(GetTickCount(), &trapEvent, &firstRegion)) {
            QlSnmpOidFree(&firstRegion);
            found = QlNetFindAdapterAddress(query, address);
        }
        FreeLibrary(agent);
    }
    WSACleanup();
    return found;
}
