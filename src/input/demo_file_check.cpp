// Judged as the demo reader plays a file: record 0 is never played, past the
// end the last record keeps acting, and the keys missing from a record cut
// short are released.
#include "input/demo_file_check.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace {

constexpr long long DEMO_RECORDS = DEMO_LAST_RECORD + 1;

std::string bytes(long long count)
{
    return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

} // namespace

DemoFileCheck check_demo_length(long long length)
{
    if (length == 0)
        return {DemoFileVerdict::unusable, "is empty"};
    if (length <= INPUT_RECORD_SIZE)
        return {DemoFileVerdict::unusable, "holds only " + bytes(length) + ", no record the demo plays"};
    if (length == DEMO_FILE_LENGTH)
        return {};
    const std::string records = std::to_string(DEMO_RECORDS);
    if (length > DEMO_FILE_LENGTH)
        return {DemoFileVerdict::flawed, "holds " + bytes(length) + ", more than the demo's " + records +
                                             " records: the rest is never played"};
    const long long cut = length % INPUT_RECORD_SIZE;
    const long long held = (length + INPUT_RECORD_SIZE - 1) / INPUT_RECORD_SIZE;
    std::string fault = "holds " + std::to_string(held) + " of the demo's " + records + " records";
    if (cut != 0)
        fault += ", the last cut short after " + bytes(cut) + " (its missing keys released)";
    return {DemoFileVerdict::flawed, fault + ": past its end the last record's keys stay held"};
}

DemoFileCheck check_demo_file(int fd)
{
    struct stat info;
    if (fstat(fd, &info) != 0)
        return {DemoFileVerdict::unusable, std::strerror(errno)};
    if (S_ISREG(info.st_mode))
        return check_demo_length(info.st_size);
    if (S_ISFIFO(info.st_mode))
        return {}; // a pipe: played as the records arrive
    if (S_ISDIR(info.st_mode))
        return {DemoFileVerdict::unusable, "is a folder"};
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return {DemoFileVerdict::unusable, "is a device"};
    return {DemoFileVerdict::unusable, "is not an ordinary file"};
}
