# cmake -DTABLE=<apConfig.bin> -DOUTPUT=<rules file> -P udev_rules.cmake
#
# Writes the udev rule that lets the user at the seat open the hidraw nodes of every model in the
# device table (device_ids.cmake), so that a model added to the table is reachable without root as
# well. The uaccess tag must be set before 73-seat-late.rules turns it into an access list: hence
# the 70 in the file's name.

include(${CMAKE_CURRENT_LIST_DIR}/device_ids.cmake)
tk700_device_ids("${TABLE}" ids)

set(text "# Lets the user at the seat talk to the TK700 over hidraw without root.\n")
string(APPEND text "# Written by the build from the device table (modules/setting/apConfig.bin).\n")
foreach(pair IN LISTS ids)
  string(REPLACE ":" ";" parts "${pair}")
  list(GET parts 0 vid)
  list(GET parts 1 pid)
  string(APPEND text
    "KERNEL==\"hidraw*\", ATTRS{idVendor}==\"${vid}\", ATTRS{idProduct}==\"${pid}\", TAG+=\"uaccess\"\n")
endforeach()
file(CONFIGURE OUTPUT "${OUTPUT}" CONTENT "${text}" @ONLY)
