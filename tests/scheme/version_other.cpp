// Carrier of version_other.rc; never run.
int main() { return 0; }
