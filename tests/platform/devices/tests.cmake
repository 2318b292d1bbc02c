# The nl80211 tests build netlink messages with libnl themselves.
target_link_libraries(test_platform_devices PRIVATE PkgConfig::KORVYN_NL)
