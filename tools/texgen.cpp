// Placeholder: the texture generator comes next.
int main() { return 0; }
