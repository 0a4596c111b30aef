# The Windows windows, driven under Wine with the messages a user's keys and
# clicks make. Included from tests/windows/CMakeLists.txt.
add_executable(window_tests
    ${CMAKE_CURRENT_LIST_DIR}/window_fixture.h
    ${CMAKE_CURRENT_LIST_DIR}/form1_window_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/about_window_test.cpp)
target_include_directories(window_tests PRIVATE ${PROJECT_SOURCE_DIR})
# The program's own resources, manifest included, so the controls are the
# ones the program gets.
target_link_libraries(window_tests PRIVATE
    velmora_main_window_win32 velmora_about_win32 velmora_resources_win32
    GTest::gtest_main comctl32 oleacc oleaut32 uuid)
# One window test at a time: they share the display, and a window that comes
# up in one would take the activation from another.
gtest_discover_tests(window_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 300
    PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK velmora_windows_display TIMEOUT 120)
