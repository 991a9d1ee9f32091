// The byte-digest runners arrive with the engines; until then they yield the empty text.
#include "hash_request.h"

std::string HashRequest::ComputeGost() {
    return {};
}
std::string HashRequest::ComputeMd2() {
    return {};
}
std::string HashRequest::ComputeMd4() {
    return {};
}
std::string HashRequest::ComputeMd5() {
    return {};
}
std::string HashRequest::ComputeSha1() {
    return {};
}
std::string HashRequest::ComputeSha2() {
    return {};
}
