#pragma once
// How the core tells of a long search while it runs. The build picks the file that supplies
// these: in the browser they call the page's hooks on the module, natively they do nothing.
extern "C" {
// Segments simulated so far by zv_solve's search.
void coreSearchProgress(double runs);
// A better route kept by zv_kind's search, as JSON: {"script", "trials", "rates"}.
void coreKindProgress(const char* json);
}
