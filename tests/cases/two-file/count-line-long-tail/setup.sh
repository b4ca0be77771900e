# A count followed on its line by 32 MiB of words, read in less room than that: only the number
# counts, and the rest of the line is not held.
{ printf '2 stations'; yes word | head -c 33554432 | tr '\n' ' '; printf '\n1 North\n2 South\n3 West\n'; } >bemenet.txt
