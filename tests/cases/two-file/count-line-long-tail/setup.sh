# A count followed on its line by 8 MiB of words: only the number counts.
{ printf '2 stations'; yes word | head -c 8388608 | tr '\n' ' '; printf '\n1 North\n2 South\n3 West\n'; } >bemenet.txt
