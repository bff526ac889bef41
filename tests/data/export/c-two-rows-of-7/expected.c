
const unsigned short Default[] = {

4,4,4,4,4,4,4,
5,5,5,5,5,5,5,
};
