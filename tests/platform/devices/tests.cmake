# The nl80211 tests build netlink messages with libnl themselves.
target_link_libraries(test_platform_devices PRIVATE PkgConfig::KORVYN_NL)
# The NetworkManager scan request is driven through sd-bus on a private bus.
target_link_libraries(test_platform_devices PRIVATE PkgConfig::KORVYN_SYSTEMD)
