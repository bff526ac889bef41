
const unsigned short Default[] = {

3,3,3,3,3,3,3,3,
3,
};
