// A module that only carries a version record.
int main() { return 0; }
