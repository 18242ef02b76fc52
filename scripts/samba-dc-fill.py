# Fills the DC that samba-dc-start provisioned under PREFIX, straight in its
# account database (the DC may be running).
#
#   samba-dc-fill.py PREFIX accounts   the Administrator's password from
#                                      PREFIX/admin.auth, and the users, groups,
#                                      memberships and computers the
#                                      conformance suite compares against
#   samba-dc-fill.py PREFIX bulk N     N more plain users, bulk00000...
#
# Runs with /usr/bin/python3: Samba's bindings are built for it.
import sys
import time

import ldb
from samba import dsdb, param
from samba.auth import system_session
from samba.samdb import SamDB

# name, given name, surname, description, extra settings
USERS = [
    ("anna.berg", "Anna", "Berg", "Accounts clerk",
     {"home": ("H:", r"\\DC1\home\anna.berg"), "dialin": "555-0100"}),
    ("bruno.costa", "Bruno", "Costa", "Left in March", {"disabled": True}),
    ("carla.diaz", "Carla", "Diaz", "Service desk", {"never_expires": True, "dialin": ""}),
    ("dmitri.egorov", "Dmitri", "Egorov", "Developer",
     {"profile": r"\\DC1\profiles\dmitri.egorov", "script": "logon.cmd"}),
    ("eva.fischer", "Eva", "Fischer", "Contractor", {"expires": "2030-01-01"}),
    ("farid.ghani", "Farid", "Ghani", "New starter", {"must_change": True}),
    ("gina.hall", "Gina", "Hall", "Too many wrong passwords", {"locked": True}),
] + [("staff%02d" % i, "Staff", "Member %02d" % i, "Pool account", {}) for i in range(1, 19)]

GLOBAL_GROUPS = {
    "Sales": ("Sales team", ["anna.berg", "bruno.costa"]),
    "Engineering": ("Builds the product", ["carla.diaz", "dmitri.egorov", "eva.fischer"]),
    "Helpdesk": ("First line support", []),
}
LOCAL_GROUPS = {
    "Printer Staff": ("May manage the printers", ["anna.berg", "Sales"]),
}
COMPUTERS = [("WS01", "Reception workstation"), ("FS01", "File server")]

# Lasts until 2030-01-01 00:00 UTC, in 100 ns units since 1601.
EXPIRY_2030 = (1893456000 + 11644473600) * 10000000
USER_PASSWORD = "Fill!Passw0rd"


def open_db(prefix):
    lp = param.LoadParm()
    lp.load(prefix + "/etc/smb.conf")
    return SamDB(url=prefix + "/private/sam.ldb", session_info=system_session(), lp=lp)


def admin_password(prefix):
    with open(prefix + "/admin.auth") as f:
        for line in f:
            key, _, value = line.partition("=")
            if key.strip() == "password":
                return value.strip()
    raise SystemExit("samba-dc-fill: no password in admin.auth")


def account_filter(name):
    return "(sAMAccountName=%s)" % ldb.binary_encode(name)


def replace(db, name, attribute, value):
    m = ldb.Message(db.search(expression=account_filter(name), attrs=[])[0].dn)
    m[attribute] = ldb.MessageElement(str(value), ldb.FLAG_MOD_REPLACE, attribute)
    db.modify(m)


def fill_accounts(db, prefix):
    db.setpassword(account_filter("Administrator"), admin_password(prefix))
    for name, given, surname, description, extra in USERS:
        home = extra.get("home", (None, None))
        db.newuser(name, USER_PASSWORD, givenname=given, surname=surname, description=description,
                   homedrive=home[0], homedirectory=home[1], profilepath=extra.get("profile"),
                   scriptpath=extra.get("script"))
        if extra.get("disabled"):
            db.disable_account(account_filter(name))
        if extra.get("never_expires"):
            db.setexpiry(account_filter(name), 0, no_expiry_req=True)
        if extra.get("must_change"):
            db.force_password_change_at_next_login(account_filter(name))
        if extra.get("expires"):
            replace(db, name, "accountExpires", EXPIRY_2030)
        if "dialin" in extra:
            # Dial-in allowed with call-back: preset to a number, or set by the caller.
            replace(db, name, "msNPAllowDialin", "TRUE")
            replace(db, name, "msRADIUSServiceType", 4)
            if extra["dialin"]:
                replace(db, name, "msRADIUSCallbackNumber", extra["dialin"])
        if extra.get("locked"):
            replace(db, name, "lockoutTime", int((time.time() + 11644473600) * 10000000))
    for name, (description, members) in GLOBAL_GROUPS.items():
        db.newgroup(name, description=description)
        if members:
            db.add_remove_group_members(name, members)
    for name, (description, members) in LOCAL_GROUPS.items():
        db.newgroup(name, description=description,
                    grouptype=dsdb.GTYPE_SECURITY_DOMAIN_LOCAL_GROUP)
        db.add_remove_group_members(name, members)
    for name, description in COMPUTERS:
        db.newcomputer(name, description=description)


def fill_bulk(db, count):
    start = time.time()
    existing = {str(m["sAMAccountName"]) for m in
                db.search(expression="(sAMAccountName=bulk*)", attrs=["sAMAccountName"])}
    for i in range(count):
        name = "bulk%05d" % i
        if name not in existing:
            # No password: hashing one (Kerberos keys too) is most of the cost.
            db.newuser(name, None, givenname="Bulk", surname="%05d" % i,
                       description="Benchmark account", setpassword=False)
    print("samba-dc-fill: %d bulk users in %.1f s" % (count, time.time() - start))


def main():
    if len(sys.argv) < 3:
        raise SystemExit(__doc__ or "usage: samba-dc-fill.py PREFIX accounts|bulk N")
    prefix, what = sys.argv[1], sys.argv[2]
    db = open_db(prefix)
    if what == "accounts":
        fill_accounts(db, prefix)
    elif what == "bulk":
        fill_bulk(db, int(sys.argv[3]))
    else:
        raise SystemExit("samba-dc-fill: unknown step " + what)


main()
