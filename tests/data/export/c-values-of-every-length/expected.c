
const unsigned short Default[] = {

65535,0,10,100,1000,10000,
};
