#include "QlGTest.h"
#include "ui/QlNetAddress.h"

#include <limits.h>
#include <string.h>
#include <vector>

static AsnObjectIdentifier Oid(std::vector<UINT> &ids)
{
    AsnObjectIdentifier oid = {(UINT)ids.size(), ids.data()};
    return oid;
}

TEST(Snmp, OidCopyIsDeepAndFreeClears)
{
    std::vector<UINT> ids = {1, 3, 6, 1, 2, 1};
    AsnObjectIdentifier source = Oid(ids);
    AsnObjectIdentifier copy = {99, NULL};
    ASSERT_EQ(1, QlSnmpOidCopy(&copy, &source));
    ASSERT_EQ(6u, copy.idLength);
    EXPECT_NE(ids.data(), copy.ids);
    ids[5] = 7;
    EXPECT_EQ(1u, copy.ids[5]);
    QlSnmpOidFree(&copy);
    EXPECT_EQ(0u, copy.idLength);
    EXPECT_EQ(nullptr, copy.ids);
    QlSnmpOidFree(&copy);   // a second free finds nothing to free

    AsnObjectIdentifier empty = {0, NULL};
    ASSERT_EQ(1, QlSnmpOidCopy(&copy, &empty));
    EXPECT_EQ(0u, copy.idLength);
}

TEST(Snmp, OidCompareNLooksNoFurtherThanNOrEitherLength)
{
    std::vector<UINT> column = {1, 3, 6, 1, 2, 1, 2, 2, 1, 3};
    struct Case {
        std::vector<UINT> other;
        UINT n;
        int expected;
    } cases[] = {
        {{1, 3, 6, 1, 2, 1, 2, 2, 1, 3, 4}, 10, 0},   // an instance of the column
        {{1, 3, 6, 1, 2, 1, 2, 2, 1, 6, 1}, 10, -3},  // the next column: 3 - 6
        {{1, 3, 6, 1, 2, 1, 2, 2, 1, 1}, 10, 2},
        {{1, 3, 6, 1, 2, 1, 2, 2, 1, 6}, 9, 0},       // the difference lies past n
        {{1, 3, 6}, 10, 0},                            // past the shorter length
        {{9}, 0, 0},
        {{1, 3, 6, 1, 2, 1, 2, 2, 1, 0xFFFFFFFFu}, 10, INT_MIN},   // kept within int, sign right
    };
    AsnObjectIdentifier a = Oid(column);
    for (Case &c : cases) {
        SCOPED_TRACE(c.other.size());
        AsnObjectIdentifier b = Oid(c.other);
        EXPECT_EQ(c.expected, QlSnmpOidCompareN(&a, &b, c.n));
    }
}

TEST(Snmp, VarBindFreeReleasesByTypeAndLeavesNull)
{
    std::vector<UINT> ids = {1, 3, 6};
    AsnObjectIdentifier source = Oid(ids);

    SnmpVarBind octets = {};
    ASSERT_EQ(1, QlSnmpOidCopy(&octets.name, &source));
    octets.value.asnType = ASN_OCTETSTRING;
    octets.value.asnValue.string.stream = (BYTE *)GlobalAlloc(GPTR, 6);
    octets.value.asnValue.string.length = 6;
    octets.value.asnValue.string.dynamic = TRUE;
    QlSnmpVarBindFree(&octets);
    EXPECT_EQ(ASN_NULL, octets.value.asnType);
    EXPECT_EQ(nullptr, octets.name.ids);
    EXPECT_EQ(nullptr, octets.value.asnValue.string.stream);

    // Data not marked dynamic is not the binding's to free.
    static BYTE fixed[4] = {1, 2, 3, 4};
    SnmpVarBind borrowed = {};
    borrowed.value.asnType = ASN_IPADDRESS;
    borrowed.value.asnValue.address.stream = fixed;
    borrowed.value.asnValue.address.length = 4;
    QlSnmpVarBindFree(&borrowed);
    EXPECT_EQ(ASN_NULL, borrowed.value.asnType);
    EXPECT_EQ(1, fixed[0]);

    SnmpVarBind object = {};
    object.value.asnType = ASN_OBJECTIDENTIFIER;
    ASSERT_EQ(1, QlSnmpOidCopy(&object.value.asnValue.object, &source));
    QlSnmpVarBindFree(&object);
    EXPECT_EQ(ASN_NULL, object.value.asnType);
}

// A stand-in for the extension agent: GET-NEXT over ifNumber and the
// interfaces table's ifType (3), ifPhysAddress (6) and ifAdminStatus (7)
// columns of the interfaces it is given.
struct FakeInterface {
    int type;
    std::vector<BYTE> address;
};
static std::vector<FakeInterface> fakeInterfaces;
static bool fakeFails;
static int fakeQueries;

struct FakeEntry {
    std::vector<UINT> name;
    int column;   // 0 for ifNumber
    size_t row;
};

static std::vector<FakeEntry> FakeEntries(void)
{
    std::vector<FakeEntry> entries = {{{1, 3, 6, 1, 2, 1, 2, 1, 0}, 0, 0}};
    for (int column : {3, 6, 7})
        for (size_t row = 0; row < fakeInterfaces.size(); row++)
            entries.push_back({{1, 3, 6, 1, 2, 1, 2, 2, 1, (UINT)column, (UINT)row + 1}, column, row});
    return entries;
}

static bool Before(const AsnObjectIdentifier &a, const std::vector<UINT> &b)
{
    for (size_t i = 0; i < a.idLength && i < b.size(); i++)
        if (a.ids[i] != b[i]) return a.ids[i] < b[i];
    return a.idLength < b.size();
}

static BOOL WINAPI FakeQuery(BYTE pduType, SnmpVarBindList *list, AsnInteger32 *errorStatus, AsnInteger32 *errorIndex)
{
    fakeQueries++;
    *errorStatus = SNMP_ERRORSTATUS_NOERROR;
    *errorIndex = 0;
    if (fakeFails || pduType != SNMP_PDU_GETNEXT) return FALSE;
    std::vector<FakeEntry> entries = FakeEntries();
    for (UINT i = 0; i < list->len; i++) {
        SnmpVarBind *binding = &list->list[i];
        const FakeEntry *next = NULL;
        for (const FakeEntry &e : entries)
            if (Before(binding->name, e.name)) {
                next = &e;
                break;
            }
        if (!next) {
            *errorStatus = SNMP_ERRORSTATUS_NOSUCHNAME;
            *errorIndex = (AsnInteger32)i + 1;
            return TRUE;
        }
        std::vector<UINT> name = next->name;
        AsnObjectIdentifier oid = Oid(name);
        QlSnmpOidFree(&binding->name);
        QlSnmpOidCopy(&binding->name, &oid);
        if (next->column == 6) {
            const std::vector<BYTE> &bytes = fakeInterfaces[next->row].address;
            binding->value.asnType = ASN_OCTETSTRING;
            binding->value.asnValue.string.length = (UINT)bytes.size();
            binding->value.asnValue.string.dynamic = TRUE;
            binding->value.asnValue.string.stream = bytes.empty() ? NULL : (BYTE *)GlobalAlloc(GPTR, bytes.size());
            if (!bytes.empty()) memcpy(binding->value.asnValue.string.stream, bytes.data(), bytes.size());
        } else {
            binding->value.asnType = ASN_INTEGER;
            binding->value.asnValue.number = next->column == 3 ? fakeInterfaces[next->row].type
                                           : next->column == 0 ? (AsnInteger32)fakeInterfaces.size() : 1;
        }
    }
    return TRUE;
}

TEST(NetAddress, FirstUsableEthernetAddressFromTheInterfacesTable)
{
    const std::vector<BYTE> none;
    const std::vector<BYTE> zero = {0, 0, 0, 0, 0, 0};
    const std::vector<BYTE> dest = {'D', 'E', 'S', 'T', 0, 9};
    const std::vector<BYTE> shortAddr = {0x00, 0x1B, 0x21, 0x3A};
    const std::vector<BYTE> first = {0x00, 0x1B, 0x21, 0x3A, 0x4C, 0x5D};
    const std::vector<BYTE> second = {0x52, 0x54, 0x00, 0x12, 0x34, 0x56};
    struct Case {
        const char *what;
        std::vector<FakeInterface> interfaces;
        int found;
        std::vector<BYTE> address;
    } cases[] = {
        {"loopback and ppp only", {{24, none}, {23, first}}, 0, {}},
        {"no interfaces", {}, 0, {}},
        {"zero address passed over", {{24, none}, {6, zero}, {6, first}}, 1, first},
        {"DEST, empty and short passed over", {{6, dest}, {6, none}, {6, shortAddr}, {6, second}}, 1, second},
        {"the first of two", {{6, first}, {6, second}}, 1, first},
        {"non-Ethernet address not taken", {{71, first}, {6, second}}, 1, second},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        fakeInterfaces = c.interfaces;
        fakeFails = false;
        BYTE address[6] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
        EXPECT_EQ(c.found, QlNetFindAdapterAddress(FakeQuery, address));
        if (c.found) {
            EXPECT_EQ(0, memcmp(c.address.data(), address, 6));
        }
    }

    fakeInterfaces = {{6, first}};
    fakeFails = true;
    BYTE address[6] = {};
    EXPECT_EQ(0, QlNetFindAdapterAddress(FakeQuery, address));
}

TEST(NetAddress, SystemAgentAnswersOrGivesZero)
{
    // Whether the system's agent answers depends on the machine: either way
    // the call comes back, and an address it gives is a real one.
    BYTE address[6] = {};
    if (QlNetFirstAdapterAddress(address)) {
        static const BYTE zero[6] = {};
        EXPECT_NE(0, memcmp(zero, address, 6));
    }
    EXPECT_EQ(0, QlNetFirstAdapterAddress(NULL));
}
