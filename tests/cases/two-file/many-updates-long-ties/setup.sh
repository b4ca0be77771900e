# 200,000 update lines, more than one match batch holds, naming stations whose names tie on
# their first 7, 14 and 21 bytes: 22 'a's, the same with '1' after it, and two new names that
# tie with those on every key, one sorting between the stations.
p=aaaaaaaaaaaaaaaaaaaaaa
yes "$(printf '%s1\n%s3\n%s\n%s15' "$p" "$p" "$p" "$p")" | head -n 200000 > frissites.txt
