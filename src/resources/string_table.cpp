#include <algorithm>
#include <array>
#include <utility>

#include "resources/strings.h"

namespace res {
namespace {

struct Entry {
  unsigned id;
  std::string_view text;
};

// Sorted by id; add new entries in order.
constexpr Entry kTable[] = {
    {101, "&About Morrowell..."},
    {32771, "Quit the application"},
    {32772, "Display program information, version number and release history"},
    {32773, "Browse the selected server for the current display"},
    {32774, "Change the columns, options and defaults of every display"},
    {32775, "Export the current display to a text, comma-separated or database file"},
    {32776, "List the Help topics"},
    {32785, "How to reach Brisle Software for support and new versions"},
    {32788, "Show all chosen columns again at their standard widths"},
    {32789, "Copy the current display to the clipboard"},
    {32792, "Add a new user, group or quota"},
    {32794, "Delete the selected users, groups or quota"},
    {32795, "Make a new user or group as a copy of the selected one"},
    {32796, "Add the server to the list of servers to browse"},
    {32797, "Import users and groups from a tab-delimited file"},
    {32801, "Edit the properties of each selected item in turn"},
    {32802, "Show the Files display: file owners and directory rights"},
    {32803, "Show the Groups display: global and local groups"},
    {32804, "Show the Network display: providers, domains, servers and shares"},
    {32805, "Show the Servers display: the computers of the browse list"},
    {32806, "Show the Users display: the user accounts"},
    {32812, "Edit the domain's password and account lockout policy"},
    {32816, "Remove the server from the list of servers to browse"},
    {32817, "Edit the properties of all selected users in one dialog"},
    {32819, "Show the Quotas display: directory quotas of the server"},
    {32821, "Show the Quotas display: directory quotas of the server"},
    {32825, "Make a hidden server visible in the browse list again"},
    {32827, "Manage the shares of the browsed server"},
    {32828, "Show only the lines that match a text"},
    {32829, "Show the Users display: the user accounts"},
    {57607, "Print the current display"},
    {57636, "Find a text in the current display"},
    {59192, "You have selected the conflicting options \"Password never expires\" and\n \"User must change password at next logon\". \nThese cannot both be set. Please uncheck one of them."},
    {59193, "An error occurred while changing the user settings. Re-check the settings."},
    {59195, "(One of) The selected group(s) is Indirect. This means that the basis for inclusion in this group is NOT \ndirect inclusion, but based on inclusion of a GLOBAL group. Remove the GLOBAL group."},
    {59196, "Warning"},
    {59198, "Could not add user to the following group:"},
    {59199, "An error occured retrieving the Security Identifier (SID) for this user."},
    {59201, "The user is already a member of that group. USER: "},
    {59203, "The PASSWORDS entered do not match. Please ensure that the password is identical in both entry fields."},
    {59205, "The user you have selected to move already exists in the destination group.\nDELETE the user from the source group?"},
    {59206, "WARNING: YOU ARE REMOVING A USER FROM A GROUP"},
    {59207, "The group information could not be written.\nCheck the results."},
    {59208, "Could not add user to group.\nUSER: "},
    {59209, "Could not remove user from group.\nUSER: "},
    {59240, "You have chosen to delete a user. This means that the\nSecurity ID (SID) of the user will be PERMANENTLY\nremoved from the system.\nARE YOU SURE you wish to delete the user?"},
    {59241, "An error occurred while processing the last user request."},
    {59242, "You have chosen to delete a group. This means that the\nSecurity ID (SID) of the group will be PERMANENTLY\nremoved from the system.\nARE YOU SURE you wish to delete the group?"},
    {59243, "Deleting GROUP: "},
    {59244, "Deleting USER: "},
    {59245, "Not members of"},
    {59246, "You MUST fill in a name, or cancel this action."},
    {59247, "An error occurred while adding the group.\nThe group has NOT been added."},
    {59251, "Veltrane"},
    {59270, "No Domain Controller (DC) could be located.\nPlease check your network connections.\n\nVeltrane will terminate now."},
    {59271, "Attempt to add user"},
    {59272, "Attempt to delete group"},
    {59273, "Attempt to add group"},
    {59274, "Attempt to delete user"},
    {59282, "It is not possible to copy when more than one\nitem has been selected."},
    {59283, "Enter the name of the GLOBAL group that should become the copy of\n"},
    {59285, "Veltrane was unable to start an instance of\nUPEDIT.EXE possibly because the file does not exist,\nor could not be found."},
    {59286, "Veltrane was unable to start an instance of\nNOTEPAD.EXE possibly because the file does note exist,\nor could not be found."},
    {59287, "Unrecognised, incomplete or invalid command line options."},
    {59288, "File named could not be created while creating automatic export."},
    {59289, "This version does not support the current platform.\nPlease contact Brisle for another version of the \nVeltrane."},
    {59291, "Veltrane was unable to retrieve the SID for the user: "},
    {59293, "Error number = "},
    {59294, "Error creating user."},
    {59295, "An error occurred while retrieving user info."},
    {59296, "Invalid parameter = "},
    {59299, "Enter the name of the LOCAL group that should become the copy of\n"},
    {59306, "Could not complete the NetUserModalsGet function to\ninitialize the structures.\n\nPlease check that the currently browsed server is a \nPrimary Domain Controller."},
    {59307, "Could not complete the setting of the Modal settings."},
    {59309, "An error occurred while retrieving information\non the group to be copied."},
    {59326, "Enter the name of the USER that should become the copy of\n"},
    {59327, "ERROR: This operation can only be performed on\n the PRIMARY Domain Controller of the domain."},
    {59328, "&Add to server list"},
    {59330, "Veltrane was unable to start an instance of\nPOLEDIT.EXE possibly because the file does not exist,\nor could not be found."},
    {59331, "The password used for import was too short for\nthe current user account policies.\nEither adjust (add?) password or change\nthe account policies on the domain."},
    {59336, "The user you are trying to add already exists."},
    {59341, "Failed memory allocation while enumerating domains\nin module DLGTHREADS."},
    {59352, "An error occurred while using the Fast Query method for\nglobal groups."},
    {59363, "You cannot check both 'User must change password at next logon'\nand 'User cannot change password' at the same time."},
    {61000, "END_OF_DATA"},
    {61001, "AAGROUP_CONTAINER"},
    {61002, "AAALOCAL_GROUP_CONTAINER"},
    {61003, "Yes"},
    {61004, "No"},
    {61005, "Never"},
    {61006, "*None*"},
    {61007, "No callback"},
    {61008, "Admin.Preset"},
    {61009, "User defined"},
};

}  // namespace

std::string_view loadString(unsigned id) {
  auto it = std::lower_bound(std::begin(kTable), std::end(kTable), id,
                             [](const Entry& e, unsigned v) { return e.id < v; });
  if (it == std::end(kTable) || it->id != id) return {};
  return it->text;
}

}  // namespace res
